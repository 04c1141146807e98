#include "../ui/UiFixture.h"

#include "tools/Unit10.h"

#include <QLabel>
#include <QPushButton>

// The useful phone numbers.
class TestPhones : public QObject {
    Q_OBJECT

private slots:
    void init() { scriptMessages(); }
    void cleanup() { Modal::setTestHook({}); }

    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("10", "", QStringLiteral("Χρήσιμα τηλέφωνα"));
        addCaption("10", "Label1", QStringLiteral("Όνοματεπώνυμο:"));
        addCaption("10", "Label2", QStringLiteral("Διεύθυνση:"));
        addCaption("10", "Label3", QStringLiteral("Τηλέφωνο 1:"));
        addCaption("10", "Label4", QStringLiteral("Τηλέφωνο 2:"));
        addCaption("10", "Label5", QStringLiteral("Fax:"));
        addCaption("10", "Label6", QStringLiteral("Email:"));
        addCaption("10", "Label7", QStringLiteral("Περιγραφή:"));
        for (const char* mark : {"Label8", "Label9", "Label10"})
            addCaption("10", mark, QStringLiteral("*"));
        addCaption("10", "Button1", QStringLiteral("Έ&ξοδος"));
    }
    void captionsAreExact() {
        QFETCH(QString, object);
        QFETCH(QString, text);
        TestDatabase db;
        TForm10 form;
        QCOMPARE(captionOf(form, object), text);
    }

    // Each caption names its field, and the list shows the seven columns, titles centred and
    // the phone numbers centred too.
    void fieldsAndListColumns() {
        TestDatabase db;
        TForm10 form;
        QStringList fields, titles, centred;
        for (int i = 1; i <= 7; ++i) {
            const QString edit = QStringLiteral("DBEdit%1").arg(i);
            QCOMPARE(child<QLabel>(form, QStringLiteral("Label%1").arg(i))->buddy(),
                     child<QWidget>(form, edit));
            fields << child<DBEdit>(form, edit)->dataField();
        }
        const QAbstractItemModel* m = child<DBGrid>(form, "DBGrid1")->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            titles << m->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(m->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
                         Qt::AlignHorizontal_Mask,
                     int(Qt::AlignHCenter));
            if (static_cast<const DBGridModel*>(m)->columns().at(c).alignment & Qt::AlignHCenter)
                centred << titles.last();
        }
        QCOMPARE(fields, (QStringList{"ONOMATEPWNYMO", "DIEYTHYNSH", "THLEFWNO_1", "THLEFWNO_2",
                                      "FAX", "EMAIL", "PERIGRAFH"}));
        QCOMPARE(titles, (QStringList{"Ονοματεπώνυμο", "Διεύθυνση", "Τηλέφωνο 1", "Τηλέφωνο 2",
                                      "Fax", "Email", "Περιγραφή"}));
        QCOMPARE(centred, (QStringList{"Τηλέφωνο 1", "Τηλέφωνο 2", "Fax"}));
        QCOMPARE(child<DBGrid>(form, "DBGrid1")->focusPolicy(), Qt::ClickFocus);
    }

    void firstContactInAnEmptyTable() {
        TestDatabase db;
        TForm10 form;
        QVERIFY(showActive(form));
        QCOMPARE(gridColumn(form), QStringList{});
        auto* name = child<DBEdit>(form, "DBEdit1");
        name->setFocus();
        typeText(name, QStringLiteral("Ηλεκτρολόγος Γιώργος"));
        auto* phone = child<DBEdit>(form, "DBEdit3");
        phone->setFocus();
        typeText(phone, QStringLiteral("2101234567"));
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT ONOMATEPWNYMO || '|' || THLEFWNO_1 || '|' || "
                                     "ifnull(DIEYTHYNSH, '-') || count(*) FROM XRHSIMA_THLEFWNA")),
            QStringLiteral("Ηλεκτρολόγος Γιώργος|2101234567|-1"));
        QCOMPARE(gridColumn(form), QStringList{"Ηλεκτρολόγος Γιώργος"});
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!child<Connection>(form, "ADOConnection1")->isConnected());
    }

    // Greek alphabetical order without regard to accents and case, kept after a contact is
    // added or renamed; the contact saved stays the current one.
    void listStaysInNameOrder_data() {
        QTest::addColumn<bool>("rename"); // the last contact, instead of adding one
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("shown"); // the contact current at the end
        QTest::newRow("added first")
            << false << "άγγελος" << QStringList{"άγγελος", "Βασίλης", "ΓΙΑΤΡΟΣ", "ωδείο"} << 0
            << "άγγελος";
        QTest::newRow("added between")
            << false << "Βάσω" << QStringList{"Βασίλης", "Βάσω", "ΓΙΑΤΡΟΣ", "ωδείο"} << 1 << "Βάσω";
        QTest::newRow("renamed to first")
            << true << "Ανθοπωλείο" << QStringList{"Ανθοπωλείο", "Βασίλης", "ΓΙΑΤΡΟΣ"} << 0
            << "Ανθοπωλείο";
        // Leaving the row saves it; the row picked stays the current one.
        QTest::newRow("renamed, then the first picked")
            << true << "Ανθοπωλείο" << QStringList{"Ανθοπωλείο", "Βασίλης", "ΓΙΑΤΡΟΣ"} << 1
            << "Βασίλης";
    }
    void listStaysInNameOrder() {
        QFETCH(bool, rename);
        QFETCH(QString, name);
        QFETCH(QStringList, listed);
        QFETCH(int, current);
        QFETCH(QString, shown);
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES ('ωδείο'), "
                               "('ΓΙΑΤΡΟΣ'), ('Βασίλης')"));
        TForm10 form;
        QVERIFY(showActive(form));
        QCOMPARE(gridColumn(form), (QStringList{"Βασίλης", "ΓΙΑΤΡΟΣ", "ωδείο"}));
        auto* navigator = child<DBNavigator>(form, "DBNavigator1");
        navigator->click(DBNavigator::Last);
        if (!rename)
            navigator->click(DBNavigator::Insert);
        auto* edit = child<DBEdit>(form, "DBEdit1");
        edit->setFocus();
        edit->selectAll();
        typeText(edit, name);
        auto* grid = child<DBGrid>(form, "DBGrid1");
        if (shown == name)
            navigator->click(DBNavigator::Post);
        else
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                              grid->visualRect(grid->model()->index(0, 0)).center());
        QTRY_COMPARE(gridColumn(form), listed);
        QCOMPARE(child<DataSet>(form, "ADOTable1")->currentRow(), current);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(grid->currentIndex().row(), current);
    }
};

QTEST_MAIN(TestPhones)
#include "tst_phones.moc"
