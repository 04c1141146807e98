#include "UiFixture.h"

#include "data/Global.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QProcess>

using Rows = QList<QStringList>;

namespace {

// Greek text, a quote, a ";" and a line break in one value; amounts and dates; a value a
// spreadsheet would take for a formula.
const QString kExpenses =
    QStringLiteral("INSERT INTO EKSODA VALUES "
                   "('2024-03-05', 32.5, 7.8, 'Βαφή \"Λόρεαλ\"; δύο' || char(10) || 'σωληνάρια'),"
                   "('2023-12-31', 1234.56, 0, 'Ψαλίδι; λίμα'),"
                   "('2024-01-15', -5, NULL, '=ΑΘΡΟΙΣΜΑ(A1:A2)')");

const QStringList kTitles = {QStringLiteral("Ημερομηνία"), QStringLiteral("Αξία"),
                             QStringLiteral("Φ.Π.Α"), QStringLiteral("Περιγραφή")};
const QStringList kDye = {QStringLiteral("5/3/2024"), QStringLiteral("32,5"), QStringLiteral("7,8"),
                          QStringLiteral("Βαφή \"Λόρεαλ\"; δύο\nσωληνάρια")};
const QStringList kScissors = {QStringLiteral("31/12/2023"), QStringLiteral("1234,56"),
                               QStringLiteral("0"), QStringLiteral("Ψαλίδι; λίμα")};
const QStringList kRefund = {QStringLiteral("15/1/2024"), QStringLiteral("-5"), QString(),
                             QStringLiteral("'=ΑΘΡΟΙΣΜΑ(A1:A2)")};

// A list screen of the expenses, over a fresh data file.
struct ExpenseList {
    TestDatabase db;
    std::unique_ptr<Connection> connection = db.connect();
    Table table;
    DataSource source;
    Screen window;
    DBGrid* grid = new DBGrid(&window);

    explicit ExpenseList(bool seeded = true) {
        if (seeded)
            db.exec(kExpenses);
        window.setWindowTitle(QStringLiteral("Λειτουργικά έξοδα"));
        table.setConnection(connection.get());
        table.setTableName(QStringLiteral("EKSODA"));
        table.open();
        source.setDataSet(&table);
        grid->setDataSource(&source);
        grid->setColumns({{QStringLiteral("HMEROMHNIA"), kTitles[0], Qt::AlignCenter, 0},
                          {QStringLiteral("POSO"), kTitles[1], Qt::AlignRight, 0},
                          {QStringLiteral("VAT"), kTitles[2], Qt::AlignRight, 0},
                          {QStringLiteral("PERIGRAFH"), kTitles[3], Qt::AlignLeft, 0}});
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
    }
};

// The file as Python's csv module reads it, the way a spreadsheet would; strict, so that a
// badly quoted field fails.
Rows readCsv(const QString& path, QString* fault) {
    const QString script =
        QStringLiteral("import csv, json, sys\n"
                       "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                       "    print(json.dumps(list(csv.reader(f, delimiter=';', strict=True))))\n");
    QProcess p;
    p.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *fault =
            QStringLiteral("python3 failed: %1").arg(QString::fromUtf8(p.readAllStandardError()));
        return {};
    }
    Rows rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
    return texts;
}

QAction* action(const DBGrid* grid, const char* name) {
    return child<QAction>(*grid->contextMenu(), QString::fromLatin1(name));
}

} // namespace

// Every data grid copies its rows to the clipboard and exports them to a CSV file.
class TestGridExport : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scriptMessages();
        Clock::setFixedForTesting(QDate(2024, 5, 17));
    }
    void cleanup() {
        Modal::setTestHook({});
        Clock::reset();
    }

    void csvReadsBackFieldByField_data() {
        QTest::addColumn<bool>("seeded");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("change");
        QTest::addColumn<Rows>("expected");
        QTest::newRow("stored order") << true << ""
                                      << "" << Rows{kTitles, kDye, kScissors, kRefund};
        QTest::newRow("sorted by amount, largest first")
            << true << "POSO DESC"
            << "" << Rows{kTitles, kScissors, kDye, kRefund};
        QTest::newRow("sorted by date") << true << "HMEROMHNIA"
                                        << "" << Rows{kTitles, kScissors, kRefund, kDye};
        QTest::newRow("no rows: the titles alone") << false << ""
                                                   << "" << Rows{kTitles};
        QTest::newRow("a new row not yet saved is left out")
            << true << ""
            << "append" << Rows{kTitles, kDye, kScissors, kRefund};
        const auto noVat = [](QStringList row) {
            row.removeAt(2);
            return row;
        };
        QTest::newRow("a hidden column is left out")
            << true << ""
            << "hide VAT" << Rows{noVat(kTitles), noVat(kDye), noVat(kScissors), noVat(kRefund)};
    }
    void csvReadsBackFieldByField() {
        QFETCH(bool, seeded);
        QFETCH(QString, sort);
        QFETCH(QString, change);
        QFETCH(Rows, expected);
        ExpenseList list(seeded);
        list.table.setSort(sort);
        if (change == u"append")
            list.table.append();
        else if (change == u"hide VAT")
            list.grid->setColumnHidden(2, true);
        const QString path = QDir(list.db.dir()).filePath(QStringLiteral("έξοδα.csv"));
        MV_VERIFY_NOTHROW(list.grid->exportCsvTo(path));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        QString fault;
        const Rows rows = readCsv(path, &fault);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(rows.size(), expected.size());
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE(rows[r], expected[r]);
    }

    void clipboardText_data() {
        QTest::addColumn<bool>("seeded");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("htmlStart");
        const QString titles = kTitles.join(u'\t') + u'\n';
        const QString dye =
            QStringLiteral("5/3/2024\t32,5\t7,8\t\"Βαφή \"\"Λόρεαλ\"\"; δύο\nσωληνάρια\"\n");
        const QString scissors = kScissors.join(u'\t') + u'\n';
        const QString refund = kRefund.join(u'\t') + u'\n';
        QTest::newRow("the selected row, from the menu")
            << true << "menu" << dye << "<table><tr><td>5/3/2024</td>";
        QTest::newRow("the selected row, Ctrl+C on another row")
            << true << "ctrl+c" << scissors << "<table><tr><td>31/12/2023</td>";
        QTest::newRow("all rows with the titles")
            << true << "all" << titles + dye + scissors + refund
            << "<table><tr><th>Ημερομηνία</th>";
        QTest::newRow("all rows of an empty list: the titles")
            << false << "all" << titles << "<table><tr><th>Ημερομηνία</th>";
    }
    void clipboardText() {
        QFETCH(bool, seeded);
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, htmlStart);
        ExpenseList list(seeded);
        QGuiApplication::clipboard()->clear();
        if (how == u"menu") {
            action(list.grid, "CopyRow")->trigger();
        } else if (how == u"ctrl+c") {
            QVERIFY(showActive(list.window));
            list.grid->setFocus();
            QTest::keyClick(list.grid, Qt::Key_Down);
            QTest::keyClick(list.grid, Qt::Key_C, Qt::ControlModifier);
        } else {
            action(list.grid, "CopyAllRows")->trigger();
        }
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->text(), text);
        QVERIFY2(mime->html().startsWith(htmlStart), qPrintable(mime->html()));
        QVERIFY(Messages::shown().isEmpty());
    }

    void menuOpensFromMouseAndKeyboard_data() {
        QTest::addColumn<bool>("seeded");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("items");
        const QStringList all = {QStringLiteral("Αντιγραφή"),
                                 QStringLiteral("Αντιγραφή όλων των γραμμών"),
                                 QStringLiteral("Εξαγωγή σε CSV…")};
        QTest::newRow("right click") << true << "right click" << all;
        QTest::newRow("the menu key") << true << "menu key" << all;
        QTest::newRow("Shift+F10") << true << "shift+f10" << all;
        QTest::newRow("an empty list: no row to copy")
            << false << "menu key"
            << QStringList{all[0] + QStringLiteral(" (off)"), all[1], all[2]};
    }
    void menuOpensFromMouseAndKeyboard() {
        QFETCH(bool, seeded);
        QFETCH(QString, how);
        QFETCH(QStringList, items);
        ExpenseList list(seeded);
        QVERIFY(showActive(list.window));
        list.grid->setFocus();
        QMenu* menu = list.grid->contextMenu();
        QVERIFY(!menu->isVisible());
        if (how == u"right click") {
            const QPoint at = list.grid->visualRect(list.grid->model()->index(1, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    list.grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list.grid->viewport(), &event);
        } else if (how == u"menu key") {
            QTest::keyClick(list.grid, Qt::Key_Menu);
        } else {
            QTest::keyClick(list.grid, Qt::Key_F10, Qt::ShiftModifier);
        }
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(actionTexts(menu), items);
        menu->close();
    }

    void exportProposesANameAndWrites_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("accepted: the proposed name in the data folder")
            << "accept" << QStringList{QStringLiteral("Λειτουργικά έξοδα 17-5-2024.csv")} << "";
        QTest::newRow("cancelled: nothing written") << "cancel" << QStringList{} << "";
        QTest::newRow("a folder that does not exist: the error is told")
            << "missing folder" << QStringList{} << "δεν μπορεί να γραφτεί";
    }
    void exportProposesANameAndWrites() {
        QFETCH(QString, answer);
        QFETCH(QStringList, written);
        QFETCH(QString, message);
        ExpenseList list;
        QString folder;
        QString proposed;
        Modal::setTestHook([&](QDialog& d) {
            auto* dialog = qobject_cast<QFileDialog*>(&d);
            if (!dialog)
                return int(QDialog::Rejected);
            folder = dialog->directory().absolutePath();
            proposed = dialog->selectedFiles().value(0);
            if (answer == u"cancel")
                return int(QDialog::Rejected);
            if (answer == u"missing folder")
                dialog->selectFile(QDir(list.db.dir()).filePath(QStringLiteral("no/such.csv")));
            return int(QDialog::Accepted);
        });
        action(list.grid, "ExportCsv")->trigger();
        QCOMPARE(folder, QDir(Global::AppDirectory).absolutePath());
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("Λειτουργικά έξοδα 17-5-2024.csv"));
        QCOMPARE(QDir(list.db.dir()).entryList({QStringLiteral("*.csv")}, QDir::Files), written);
        if (message.isEmpty()) {
            QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        } else {
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY2(Messages::shownTexts().constFirst().contains(message),
                     qPrintable(Messages::shownTexts().constFirst()));
        }
    }
};

QTEST_MAIN(TestGridExport)
#include "tst_ui_grid_export.moc"
