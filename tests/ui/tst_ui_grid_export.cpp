#include "SheetFixture.h"
#include "UiFixture.h"

#include "data/Global.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QProcess>

#include <stdexcept>

using Rows = QList<QStringList>;

namespace {

// Greek text, a quote, a ";" and a line break in one value; amounts and dates; a value a
// spreadsheet would take for a formula.
const QString kExpenses =
    QStringLiteral("INSERT INTO EKSODA VALUES "
                   "('2024-03-05', 32.5, 7.8, 'Βαφή \"Λόρεαλ\"; δύο' || char(10) || 'σωληνάρια'),"
                   "('2023-12-31', 1234.56, 0, 'Ψαλίδι; λίμα'),"
                   "('2024-01-15', -5, NULL, '=ΑΘΡΟΙΣΜΑ(A1:A2)')");
const QStringList kTitles = {"Ημερομηνία", "Αξία", "Φ.Π.Α", "Περιγραφή"};
const QStringList kDye = {"5/3/2024", "32,5", "7,8", "Βαφή \"Λόρεαλ\"; δύο\nσωληνάρια"};
const QStringList kScissors = {"31/12/2023", "1234,56", "0", "Ψαλίδι; λίμα"};
const QStringList kRefund = {"15/1/2024", "-5", "", "'=ΑΘΡΟΙΣΜΑ(A1:A2)"};

// A list screen of the expenses, over a fresh data file.
struct ExpenseList {
    TestDatabase db;
    std::unique_ptr<Connection> connection = db.connect();
    Table table;
    DataSource source;
    Screen window;
    DBGrid* grid = new DBGrid(&window);

    explicit ExpenseList(bool seeded) {
        if (seeded)
            db.exec(kExpenses);
        window.setWindowTitle("Λειτουργικά έξοδα");
        table.setConnection(connection.get());
        table.setTableName("EKSODA");
        table.open();
        source.setDataSet(&table);
        grid->setDataSource(&source);
        grid->setColumns({{"HMEROMHNIA", kTitles[0]},
                          {"POSO", kTitles[1]},
                          {"VAT", kTitles[2]},
                          {"PERIGRAFH", kTitles[3]}});
        (new QVBoxLayout(&window))->addWidget(grid);
    }
    QAction* action(const QString& name) const {
        return child<QAction>(*grid->contextMenu(), name);
    }
};

// The file as Python's csv module reads it, the way a spreadsheet would; strict, so that a
// badly quoted field fails.
Rows readCsv(const QString& path) {
    QProcess p;
    p.start("python3", {"-c",
                        "import csv, io, json, sys\n"
                        "data = open(sys.argv[1], 'rb').read()\n"
                        "assert data.startswith(b'\\xef\\xbb\\xbf'), 'no byte order mark'\n"
                        "assert data.endswith(b'\\r\\n'), 'no CR LF at the end'\n"
                        "text = io.StringIO(data.decode('utf-8-sig'), newline='')\n"
                        "print(json.dumps(list(csv.reader(text, delimiter=';', strict=True))))\n",
                        path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error("python3 failed: " + p.readAllStandardError().toStdString());
    Rows rows;
    for (const QVariant& row :
         QJsonDocument::fromJson(p.readAllStandardOutput()).toVariant().toList())
        rows << row.toStringList();
    return rows;
}

const char* kindName(Spreadsheet::Kind kind) {
    switch (kind) {
    case Spreadsheet::Kind::Amount:
        return "amount";
    case Spreadsheet::Kind::Date:
        return "date";
    case Spreadsheet::Kind::Count:
        return "count";
    case Spreadsheet::Kind::Number:
        return "number";
    case Spreadsheet::Kind::Text:
        break;
    }
    return "text";
}

} // namespace

// Every data grid copies its rows to the clipboard and exports them to a CSV file.
class TestGridExport : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Clock::setFixedForTesting(QDate(2024, 5, 17));
    }
    void cleanup() { ScreenFixture::end(); }

    // Exported from the menu under a proposed name, the file reads back as the grid shows it.
    void csvReadsBackFieldByField_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Rows>("expected");
        const auto row = [](const char* name, const char* setup, const Rows& expected) {
            QTest::newRow(name) << QString(setup) << expected;
        };
        const auto noVat = [](QStringList r) { return r.removeAt(2), r; };
        row("the grid's sort, largest amount first", "sort", {kTitles, kScissors, kDye, kRefund});
        row("no rows: the titles alone", "empty", {kTitles});
        // Otherwise in stored order.
        row("a new row not yet saved is left out", "append", {kTitles, kDye, kScissors, kRefund});
        row("a hidden column is left out", "hide",
            {noVat(kTitles), noVat(kDye), noVat(kScissors), noVat(kRefund)});
        row("cancelled: nothing written", "cancel", {});
        row("a folder that does not exist: the error is told", "missing folder", {});
    }
    void csvReadsBackFieldByField() {
        QFETCH(QString, setup);
        QFETCH(Rows, expected);
        ExpenseList list(setup != u"empty");
        if (setup == u"sort")
            list.table.setSort("POSO DESC");
        else if (setup == u"append")
            list.table.append();
        else if (setup == u"hide")
            list.grid->setColumnHidden(2, true);
        QString folder;
        QString proposed;
        Modal::setTestHook([&](QDialog& d) {
            auto* dialog = qobject_cast<QFileDialog*>(&d);
            if (!dialog)
                return int(QDialog::Rejected);
            folder = dialog->directory().absolutePath();
            proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            if (setup == u"missing folder")
                dialog->selectFile(QDir(list.db.dir()).filePath("no/such.csv"));
            return int(setup == u"cancel" ? QDialog::Rejected : QDialog::Accepted);
        });
        QCOMPARE(list.action("ExportCsv")->text(), "Εξαγωγή σε CSV…");
        list.action("ExportCsv")->trigger();
        QCOMPARE(folder, QDir(Global::AppDirectory).absolutePath());
        QCOMPARE(proposed, "Λειτουργικά έξοδα 17-5-2024.csv");
        const QStringList shown = Messages::shownTexts();
        QVERIFY2(setup == u"missing folder"
                     ? shown.size() == 1 && shown[0].contains("δεν μπορεί να γραφτεί")
                     : shown.isEmpty(),
                 qPrintable(shown.join(u'\n')));
        QCOMPARE(QDir(list.db.dir()).entryList({"*.csv"}, QDir::Files),
                 expected.isEmpty() ? QStringList{} : QStringList{proposed});
        if (expected.isEmpty())
            return;
        Rows rows;
        MV_VERIFY_NOTHROW(rows = readCsv(QDir(list.db.dir()).filePath(proposed)));
        for (qsizetype r = 0; r < qMax(rows.size(), expected.size()); ++r)
            QCOMPARE(rows.value(r), expected.value(r));
    }

    // Each value of the list goes into the workbook as what it is, as a spreadsheet reads it.
    void excelCellsAreTyped_data() { addCollectionsCells(); }
    void excelCellsAreTyped() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, format);
        CollectionsSheet list;
        const QString name = list.exportFromMenu();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        SheetFile file;
        MV_VERIFY_NOTHROW(file = readXlsx(QDir(list.db.dir()).filePath(name)));
        QCOMPARE(file.rows.size(), 3);
        const SheetCell cell = file.at(row, column);
        QCOMPARE(cell.kind, kind);
        QCOMPARE(cell.value, value);
        QCOMPARE(cell.format, format);
        QCOMPARE(cell.bold, row == 0);
    }

    // The workbook is named and laid out as the list is: the window's caption, the titles in
    // bold staying in view, columns as wide as what they hold, no formula anywhere.
    void excelSheetIsLaidOutLikeTheList() {
        CollectionsSheet list;
        QCOMPARE(child<QAction>(*list.grid->contextMenu(), "ExportExcel")->text(),
                 "Εξαγωγή σε Excel…");
        const QString name = list.exportFromMenu();
        QCOMPARE(name, "Εισπράξεις από τον συγκεκριμένο πελάτη 17-5-2024.xlsx");
        SheetFile file;
        MV_VERIFY_NOTHROW(file = readXlsx(QDir(list.db.dir()).filePath(name)));
        // A sheet's name holds 31 characters: cut at a word.
        QCOMPARE(file.sheets, QStringList{"Εισπράξεις από τον συγκεκριμένο"});
        QCOMPARE(file.title, "Εισπράξεις από τον συγκεκριμένο");
        QCOMPARE(file.frozen, "A2");
        QCOMPARE(file.formulas, 0);
        QStringList titles;
        for (const SheetCell& c : file.rows.value(0))
            titles << c.value;
        QCOMPARE(titles, CollectionsSheet::titles());
        QCOMPARE(file.widths.size(), titles.size());
        for (qsizetype c = 0; c < titles.size(); ++c)
            QVERIFY2(file.widths[c] >= titles[c].size(), qPrintable(titles[c]));
        QVERIFY(file.widths[1] >= QStringLiteral("00302109876543").size());
        QVERIFY(file.widths[6] > file.widths[5]);
    }

    // A sheet is written whole or not at all, and a refusal says why.
    void excelWrittenWholeOrNotAtAll_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("a new file") << QString("new.xlsx") << QString();
        QTest::newRow("a file there before is replaced") << QString("old.xlsx") << QString();
        QTest::newRow("a folder that does not exist")
            << QString("no/such.xlsx") << QString("Ο φάκελος δεν υπάρχει");
        QTest::newRow("a name taken by a folder")
            << QString("folder.xlsx") << QString("Υπάρχει ήδη φάκελος με αυτό το όνομα");
        QTest::newRow("a value longer than a cell holds")
            << QString("long.xlsx") << QString("στη στήλη \"Περιγραφή\" έχει περισσότερους από");
    }
    void excelWrittenWholeOrNotAtAll() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        CollectionsSheet list;
        const QDir dir(list.db.dir());
        QVERIFY(dir.mkdir("folder.xlsx"));
        QFile old(dir.filePath("old.xlsx"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("not a workbook") > 0);
        old.close();
        const QStringList before =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const QString path = dir.filePath(target);
        if (target == u"long.xlsx") {
            list.db.exec("UPDATE EISPRAKSH_PELATH SET PERIGRAFH = "
                         "replace(hex(zeroblob(20000)), '00', 'αβ') WHERE AR_APODEIKSHS = 1002");
            list.query.refresh();
        }
        Modal::setTestHook([&](QDialog& d) {
            if (auto* dialog = qobject_cast<QFileDialog*>(&d))
                dialog->selectFile(path);
            return int(QDialog::Accepted);
        });
        list.grid->contextMenu()->findChild<QAction*>("ExportExcel")->trigger();
        const QStringList shown = Messages::shownTexts();
        const QStringList after =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (!message.isEmpty()) {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].contains("δεν μπορεί να γραφτεί") && shown[0].contains(message),
                     qPrintable(shown[0]));
            QCOMPARE(after, before); // nothing left behind
            return;
        }
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
        QCOMPARE(after.size(), before.size() + (target == u"new.xlsx" ? 1 : 0));
        SheetFile file;
        MV_VERIFY_NOTHROW(file = readXlsx(path));
        QCOMPARE(file.at(1, 0).value, "Παπαδοπούλου");
    }

    // A sheet's name holds 31 characters, and none of [ ] : * ? / \.
    void sheetNameFromCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("short: as it is") << "Χρήσιμα τηλέφωνα"
                                         << "Χρήσιμα τηλέφωνα";
        QTest::newRow("long: cut at a word, no dash left hanging")
            << "Λειτουργικά έξοδα - Αναλυτική έρευνα"
            << "Λειτουργικά έξοδα - Αναλυτική";
        QTest::newRow("dates keep their shape") << "Έξοδα 1/3/2007 έως 31/3/2007"
                                                << "Έξοδα 1-3-2007 έως 31-3-2007";
        QTest::newRow("refused characters") << "Σημειώσεις [παλιές]: *;?"
                                            << "Σημειώσεις παλιές ;";
        QTest::newRow("apostrophes at the ends") << "'Ταμείο'"
                                                 << "Ταμείο";
        QTest::newRow("one word too long") << QString(40, u'Α') << QString(31, u'Α');
        QTest::newRow("nothing left") << " ?* "
                                      << "Φύλλο";
    }
    void sheetNameFromCaption() {
        QFETCH(QString, caption);
        QTEST(Spreadsheet::sheetName(caption), "name");
    }

    // A column's kind comes from what the screen and the data set know of it, not from the
    // values it happens to hold.
    void columnKindFromWhatIsKnown_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("kind");
        const auto row = [](const char* name, const char* expression, const char* title,
                            int decimals, const char* kind) {
            QTest::newRow(name) << QString(expression) << QString(title) << decimals
                                << QString(kind);
        };
        row("a date field", "HMEROMHNIA", "Ημερομηνία", -1, "date");
        row("a date the statement made text", "Format(HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA",
            "Ημερομηνία", -1, "date");
        row("an integer field", "AR_APODEIKSHS", "Αριθμός", -1, "count");
        row("a count", "1 AS SYNOLO", "Πλήθος", -1, "count");
        row("a number field as stored", "POSO_CY", "Λίρες", -1, "number");
        row("a number field shown with decimals", "POSO", "Ποσό", 2, "amount");
        row("a title in euro over a number field", "VAT", "Φ.Π.Α (EUR)", -1, "amount");
        row("a title in euro over a formatted text", "Format(POSO,'0.00') AS POSO", "Ποσό (EUR)",
            -1, "amount");
        row("a text field of digits", "PARALHPTHS", "Παραλήπτης", -1, "text");
        row("a yes/no field", "EGKYRH", "Έγκυρη", -1, "text");
        row("a field the list does not have", "TAMEIO", "", -1, "text");
    }
    void columnKindFromWhatIsKnown() {
        QFETCH(QString, expression);
        QFETCH(QString, title);
        QFETCH(int, decimals);
        QFETCH(QString, kind);
        TestDatabase db;
        db.exec("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, PARALHPTHS, POSO, POSO_CY, "
                "VAT, EGKYRH) VALUES (1001, '2024-05-17', '2109876543', 40, 23.4, 9.6, 1)");
        auto connection = db.connect();
        Query query;
        query.setConnection(connection.get());
        query.addSql("SELECT " + expression + " FROM APODEIKSEIS");
        query.open();
        DataSource source;
        source.setDataSet(&query);
        DBGrid grid;
        grid.setDataSource(&source);
        const QString field = title.isEmpty() ? QString("NOSUCH") : query.field(0)->fieldName();
        grid.setColumns(
            {{field, title.isEmpty() ? QString("Κάτι") : title, Qt::AlignLeft, 0, decimals}});
        QCOMPARE(kindName(grid.columnKind(0)), kind);
    }

    // The menu opens from the mouse and from both keys; a row is copied from it or with Ctrl+C.
    void copyFromMenuOrKeys_data() {
        QTest::addColumn<bool>("seeded");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, bool seeded, const char* how, const char* item,
                            const QString& text) {
            QTest::newRow(name) << seeded << QString(how) << QString(item) << text;
        };
        const QString titles = kTitles.join(u'\t') + u'\n';
        const QString dye = "5/3/2024\t32,5\t7,8\t\"Βαφή \"\"Λόρεαλ\"\"; δύο\nσωληνάρια\"\n";
        const QString scissors = kScissors.join(u'\t') + u'\n';
        const QString all = titles + dye + scissors + kRefund.join(u'\t') + u'\n';
        row("the menu key, the selected row", true, "menu key", "CopyRow", dye);
        row("Shift+F10, all rows with the titles", true, "shift+f10", "CopyAllRows", all);
        row("right click, all rows", true, "right click", "CopyAllRows", all);
        row("Ctrl+C on another row", true, "ctrl+c", "", scissors);
        row("an empty list: no row to copy, the titles", false, "menu key", "CopyAllRows", titles);
    }
    void copyFromMenuOrKeys() {
        QFETCH(bool, seeded);
        QFETCH(QString, how);
        QFETCH(QString, item);
        QFETCH(QString, text);
        ExpenseList list(seeded);
        QVERIFY(showActive(list.window));
        list.grid->setFocus();
        QGuiApplication::clipboard()->clear();
        if (how == u"right click") {
            const QPoint at = list.grid->visualRect(list.grid->model()->index(1, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    list.grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list.grid->viewport(), &event);
        } else if (how == u"ctrl+c") {
            QTest::keyClick(list.grid, Qt::Key_Down);
            QTest::keyClick(list.grid, Qt::Key_C, Qt::ControlModifier);
        } else {
            QTest::keyClick(list.grid, how == u"menu key" ? Qt::Key_Menu : Qt::Key_F10,
                            how == u"menu key" ? Qt::NoModifier : Qt::ShiftModifier);
        }
        if (!item.isEmpty()) {
            QTRY_VERIFY(list.grid->contextMenu()->isVisible());
            QCOMPARE(list.action("CopyRow")->isEnabled(), seeded);
            list.action(item)->trigger();
            list.grid->contextMenu()->close();
        }
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->text(), text);
        // Spreadsheets paste the HTML; the titles are its heading.
        QVERIFY2(mime->html().startsWith(text.startsWith(kTitles[0]) ? "<table><tr><th>"
                                                                     : "<table><tr><td>"),
                 qPrintable(mime->html()));
    }
};

QTEST_MAIN(TestGridExport)
#include "tst_ui_grid_export.moc"
