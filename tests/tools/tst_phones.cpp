#include "../ui/UiFixture.h"

#include "tools/Unit10.h"

// The useful phone numbers.
class TestPhones : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }

    // The first contact of an empty book, typed into every field but the address: stored
    // field by field with no address, and listed under centred titles, the numbers centred
    // ("|"). The label's accented capital is not in the list's title.
    void firstContactIsStoredFieldByField() {
        TestDatabase db;
        TForm10 form;
        QVERIFY(showActive(form));
        QCOMPARE(child<DBEdit>(form, "DBEdit2")->dataField(), QStringLiteral("DIEYTHYNSH"));
        const QStringList typed{"Γιώργος",     "",           "2101234567",
                                "6971234567",  "2107654321", "info@example.gr",
                                "Ηλεκτρολόγος"};
        for (int i = 0; i < typed.size(); ++i) {
            auto* edit = child<DBEdit>(form, QStringLiteral("DBEdit%1").arg(i + 1));
            edit->setFocus();
            typeText(edit, typed[i]);
        }
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT printf('%d:%s|%s|%s|%s|%s|%s|%s', count(*), "
                                     "ONOMATEPWNYMO, ifnull(DIEYTHYNSH, '-'), THLEFWNO_1, "
                                     "THLEFWNO_2, FAX, EMAIL, PERIGRAFH) FROM XRHSIMA_THLEFWNA")),
            QStringLiteral("1:Γιώργος|-|2101234567|6971234567|2107654321|info@example.gr|"
                           "Ηλεκτρολόγος"));
        const QAbstractItemModel* m = child<DBGrid>(form, "DBGrid1")->model();
        QStringList shown;
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex cell = m->index(0, c);
            const bool centred = cell.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter;
            shown << m->headerData(c, Qt::Horizontal).toString() + (centred ? "=|" : "=") +
                         cell.data().toString();
        }
        QCOMPARE(shown.join(u' '),
                 QStringLiteral("Ονοματεπώνυμο=Γιώργος Διεύθυνση= Τηλέφωνο 1=|2101234567 "
                                "Τηλέφωνο 2=|6971234567 Fax=|2107654321 "
                                "Email=info@example.gr Περιγραφή=Ηλεκτρολόγος"));
        QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignCenter));
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(!child<Connection>(form, "ADOConnection1")->isConnected());
    }

    // Greek alphabetical order without regard to accents and case, kept after a contact is
    // added or renamed; the contact saved, or the row picked, stays the current one.
    void listStaysInNameOrder_data() {
        QTest::addColumn<bool>("rename"); // the last contact, instead of adding one
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pick"); // the first row, which saves, instead of saving
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("current");
        QTest::newRow("added first") << false << "άγγελος" << false
                                     << QStringList{"άγγελος", "Βασίλης", "ΓΙΑΤΡΟΣ", "ωδείο"} << 0;
        QTest::newRow("added between")
            << false << "Βάσω" << false << QStringList{"Βασίλης", "Βάσω", "ΓΙΑΤΡΟΣ", "ωδείο"} << 1;
        QTest::newRow("renamed to first") << true << "Ανθοπωλείο" << false
                                          << QStringList{"Ανθοπωλείο", "Βασίλης", "ΓΙΑΤΡΟΣ"} << 0;
        QTest::newRow("renamed, then the first picked")
            << true << "Ανθοπωλείο" << true << QStringList{"Ανθοπωλείο", "Βασίλης", "ΓΙΑΤΡΟΣ"} << 1;
    }
    void listStaysInNameOrder() {
        QFETCH(bool, rename);
        QFETCH(QString, name);
        QFETCH(bool, pick);
        QFETCH(QStringList, listed);
        QFETCH(int, current);
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
        if (pick)
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                              grid->visualRect(grid->model()->index(0, 0)).center());
        else
            navigator->click(DBNavigator::Post);
        QTRY_COMPARE(gridColumn(form), listed);
        QCOMPARE(child<DataSet>(form, "ADOTable1")->currentRow(), current);
        QCOMPARE(grid->currentIndex().row(), current);
        QCOMPARE(edit->text(), listed[current]);
    }
};

QTEST_MAIN(TestPhones)
#include "tst_phones.moc"
