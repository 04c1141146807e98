#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"
#include "SheetFile.h"

#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

namespace {

// Stored out of date order; one has no VAT.
const QString kMarch =
    QStringLiteral("('2007-03-31',30,7.2,'Τέλος Μαρτίου'),('2007-02-28',1000,0,'Φεβρουάριος'),"
                   "('2007-03-01',10,2.4,'Αρχή Μαρτίου'),('2007-04-01',2000,0,'Απρίλιος'),"
                   "('2007-03-15',5,NULL,'Χωρίς ΦΠΑ')");
const QString kYears = QStringLiteral("('2007-01-05',50,5,'α'),('2006-03-02',200,20,'β'),"
                                      "('2006-01-20',100,10,'γ'),('2006-03-30',1,0.5,'δ')");

// A screen over a fresh file holding the expenses the analyses are tried on.
struct Fixture {
    TestDatabase db;
    std::unique_ptr<Screen> form;
    explicit Fixture(const QString& screen) {
        db.exec(QStringLiteral("INSERT INTO EKSODA VALUES ") + (screen == u"14" ? kMarch : kYears));
        form.reset(screen == u"13"   ? static_cast<Screen*>(new TForm13)
                   : screen == u"14" ? static_cast<Screen*>(new TForm14)
                                     : new TForm15);
    }
};

// Every row of the list as shown, cells joined by "|", rows by ";", the totals as a last row.
QString shownText(const QWidget& screen) {
    QStringList rows = gridRows(screen, "DBGrid1", {}, "|");
    QStringList totals;
    for (const char* name : {"DBText1", "DBText2", "DBText3"})
        totals << child<QLabel>(screen, name)->text();
    return (rows << totals.join(u'|')).join(u';');
}

QPushButton* button(const QWidget& screen, const char* name) {
    return child<QPushButton>(screen, name);
}

void typeBounds(QWidget& screen, const QString& from, const QString& to) {
    child<QLineEdit>(screen, "Edit1")->setText(from);
    child<QLineEdit>(screen, "Edit2")->setText(to);
}

// "disabled": the bounds cannot be searched at all; a printout is asked for when "printed"
// names what it must show.
void addSearch(const char* name, const char* screen, const char* from, const char* to,
               const char* outcome, const QString& shown = QStringLiteral("||"),
               const QStringList& printed = {}, const QStringList& notPrinted = {}) {
    QTest::newRow(name) << screen << from << to << outcome << shown << printed << notPrinted;
}

// The rows seeded, what is done, and what the file holds and the message says afterwards.
void addBookCase(const char* name, bool seeded, const char* action, const char* text,
                 const QString& stored, const char* message = "") {
    QTest::newRow(name) << seeded << action << text << stored << message;
}

} // namespace

class TestExpenses : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }
    void cleanup() { ScreenFixture::end(); }

    // "insert" types the four fields, a field's name types into it alone; both then post.
    void workingInTheBook_data() {
        QTest::addColumn<bool>("seeded");
        for (const char* column : {"action", "text", "stored", "message"})
            QTest::addColumn<QString>(column);
        const QString seeded =
            QStringLiteral("2007-01-10=20.5=4.92=Ρεύμα;2007-03-05=100.0=24.0=Ενοίκιο");
        const QString added = QStringLiteral("2007-03-28=12.5=2.88=Χαρτικά");
        const char* typed = "28/3/2007;12,5;2,88;Χαρτικά";
        addBookCase("first expense into an empty book", false, "insert", typed, added);
        addBookCase("a new latest expense on top", true, "insert", typed, seeded + u';' + added);
        addBookCase("value and VAT left blank are none", false, "insert", "28/3/2007;;;Χαρτικά",
                    QStringLiteral("2007-03-28=0.0=0.0=Χαρτικά"));
        addBookCase("31/02/2024 refused", true, "DBEdit1", "31/02/2024", seeded, "31/02/2024");
        addBookCase("12.50 refused", true, "DBEdit2", "12.50", seeded, "12.50");
        addBookCase("δώδεκα refused", true, "DBEdit3", "δώδεκα", seeded, "δώδεκα");
        addBookCase("Delete answered Cancel", true, "Cancel", "", seeded, "Delete record?");
        addBookCase("Delete answered OK", true, "OK", "",
                    QStringLiteral("2007-01-10=20.5=4.92=Ρεύμα"), "Delete record?");
    }
    void workingInTheBook() {
        QFETCH(bool, seeded);
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        TestDatabase db;
        if (seeded)
            db.exec(QStringLiteral("INSERT INTO EKSODA VALUES ('2007-01-10',20.5,4.92,'Ρεύμα'),"
                                   "('2007-03-05',100,24,'Ενοίκιο')"));
        {
            TForm13 book;
            QVERIFY(showActive(book));
            auto* navigator = child<DBNavigator>(book, "DBNavigator1");
            if (action == u"OK" || action == u"Cancel") {
                Messages::setNextAnswers({action == u"OK"});
                navigator->click(DBNavigator::Delete);
            } else {
                const bool insert = action == u"insert";
                if (insert)
                    navigator->click(DBNavigator::Insert);
                const QStringList typed = text.split(u';');
                for (int i = 0; i < typed.size(); ++i) {
                    auto* field = child<DBEdit>(book, insert ? QStringLiteral("DBEdit%1").arg(i + 1)
                                                             : action);
                    field->setFocus();
                    field->selectAll();
                    typeText(field, typed[i]);
                }
                navigator->click(DBNavigator::Post);
                // A refused value stays in its field, still being edited.
                if (!insert) {
                    QCOMPARE(child<DataSet>(book, "ADOTable1")->state(), DataSet::State::Edit);
                    QCOMPARE(child<DBEdit>(book, action)->text(), text);
                }
            }
            QCOMPARE(db.scalar(QStringLiteral(
                         "SELECT group_concat(HMEROMHNIA||'='||POSO||'='||VAT||'='||PERIGRAFH,"
                         "';') FROM (SELECT * FROM EKSODA ORDER BY HMEROMHNIA)")),
                     stored);
            const QStringList shown = Messages::shownTexts();
            QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
            QVERIFY(message.isEmpty() || shown.first().contains(message));
            button(book, "Button1")->click();
            QVERIFY(!child<Connection>(book, "ADOConnection1")->isConnected());
        }
        // Reopened, the book shows the latest expense first.
        const QString latest = stored.section(u';', -1).section(u'=', -1);
        TForm13 again;
        QCOMPARE(gridColumn(again).value(0), latest);
        QCOMPARE(child<DBEdit>(again, "DBEdit4")->text(), latest);
    }

    // The book shows amounts as the analyses and receipts do, two decimals on the right, in
    // the list and in the fields until typed into; what is stored is not changed by it.
    void bookShowsAmountsWithTwoDecimals_data() {
        QTest::addColumn<QString>("stored"); // value and VAT as the file holds them
        QTest::addColumn<QString>("typed");  // into the value field, then posted; "" for none
        QTest::addColumn<QString>("shown");  // value and VAT in the list and in the fields
        QTest::addColumn<QString>("after");  // value and VAT in the file afterwards
        const auto row = [](const char* name, const char* stored, const char* typed,
                            const char* shown, const char* after) {
            QTest::newRow(name) << stored << typed << shown << after;
        };
        row("whole and zero", "800,0", "", "800,00 0,00", "800.0 0.0");
        row("one decimal", "12.5,62.5", "", "12,50 62,50", "12.5 62.5");
        row("no VAT", "5,NULL", "", "5,00 ", "5.0 -");
        row("halves away from zero", "2.675,-0.125", "", "2,68 -0,13", "2.675 -0.125");
        row("no thousands separator", "1234567.5,0.1", "", "1234567,50 0,10", "1234567.5 0.1");
        row("typed back as shown, kept as stored", "2.675,0", "2,68", "2,68 0,00", "2.675 0.0");
        row("typed with one decimal, shown with two", "800,0", "7,1", "7,10 0,00", "7.1 0.0");
    }
    void bookShowsAmountsWithTwoDecimals() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, after);
        TestDatabase db;
        db.exec("INSERT INTO EKSODA VALUES ('2007-01-10'," + stored + ",'Ρεύμα')");
        TForm13 book;
        QVERIFY(showActive(book));
        auto* value = child<DBEdit>(book, "DBEdit2");
        auto* vat = child<DBEdit>(book, "DBEdit3");
        if (!typed.isEmpty()) {
            value->setFocus();
            value->selectAll();
            typeText(value, typed);
            QCOMPARE(value->text(), typed); // as typed while being typed
            child<DBNavigator>(book, "DBNavigator1")->click(DBNavigator::Post);
        }
        const QStringList cells = {gridColumn(book, "DBGrid1", 2).value(0),
                                   gridColumn(book, "DBGrid1", 3).value(0)};
        QCOMPARE(cells.join(u' '), shown);
        QCOMPARE(value->text() + u' ' + vat->text(), shown);
        for (const int c : {2, 3})
            QVERIFY(child<DBGrid>(book, "DBGrid1")
                        ->model()
                        ->index(0, c)
                        .data(Qt::TextAlignmentRole)
                        .toInt() &
                    Qt::AlignRight);
        QVERIFY(value->alignment() & Qt::AlignRight);
        QVERIFY(vat->alignment() & Qt::AlignRight);
        QCOMPARE(db.scalar(QStringLiteral("SELECT POSO||' '||ifnull(VAT,'-') FROM EKSODA")), after);
        QCOMPARE(Messages::shownTexts(), QStringList());
    }

    // A search, its printout (of the last search, whatever the inputs hold by then), and the
    // screen closed and shown again.
    void search_data() {
        for (const char* column : {"screen", "from", "to", "outcome", "shown"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("notPrinted");
        addSearch("March 2007, oldest first", "14", "01/03/2007", "31/03/2007", "found",
                  QStringLiteral("Αρχή Μαρτίου|01/03/2007|10,00|2,40|12,40;Χωρίς ΦΠΑ|15/03/2007|"
                                 "5,00||;Τέλος Μαρτίου|31/03/2007|30,00|7,20|37,20;"
                                 "45,00|9,60|49,60"),
                  {"Περίοδος: από 1/3/2007 έως 31/3/2007", "Εγγραφές: 3",
                   "01/03/2007 Αρχή Μαρτίου 10,00 2,40 12,40", "15/03/2007 Χωρίς ΦΠΑ 5,00",
                   "31/03/2007 Τέλος Μαρτίου 30,00 7,20 37,20", "Αξία (EUR) 45,00",
                   "Φ.Π.Α (EUR) 9,60", "Αξία + Φ.Π.Α (EUR) 49,60"},
                  {"Φεβρουάριος", "Απρίλιος", "Δεν βρέθηκαν"});
        addSearch(
            "one day, both bounds included", "14", "28/2/2007", "28/2/2007", "found",
            QStringLiteral("Φεβρουάριος|28/02/2007|1000,00|0,00|1000,00;1000,00|0,00|1000,00"));
        addSearch("a range without expenses", "14", "1/5/2007", "31/5/2007", "found",
                  QStringLiteral("||"),
                  {"από 1/5/2007 έως 31/5/2007", "Εγγραφές: 0", "Δεν βρέθηκαν έξοδα",
                   "Αξία + Φ.Π.Α (EUR) 0,00"},
                  {"Μαρτίου"});
        addSearch("31/02/2007", "14", "31/02/2007", "31/03/2007", "refused");
        addSearch("end date of letters", "14", "1/3/2007", "αύριο", "refused");
        addSearch("01.03.2007", "14", "01.03.2007", "31/03/2007", "disabled");
        addSearch("years 2006-2007", "15", "2006", "2007", "found",
                  QStringLiteral("1|2006|100,00|10,00|110,00;3|2006|201,00|20,50|221,50;"
                                 "1|2007|50,00|5,00|55,00;351,00|35,50|386,50"),
                  {"Έτη: από 2006 έως 2007", "Μήνες: 3", "1 Ιανουάριος 2006 100,00 10,00 110,00",
                   "3 Μάρτιος 2006 201,00 20,50 221,50", "1 Ιανουάριος 2007 50,00 5,00 55,00",
                   "Αξία + Φ.Π.Α (EUR) 386,50"},
                  {"Δεν βρέθηκαν"});
        addSearch("2007 alone", "15", " 2007 ", "2007", "found",
                  QStringLiteral("1|2007|50,00|5,00|55,00;50,00|5,00|55,00"));
        addSearch("year 0", "15", "0", "0", "found");
        addSearch("year 99999", "15", "99999", "99999", "found");
        addSearch("both years empty", "15", "", "", "refused");
        addSearch("column names as years", "15", "VAT", "POSO", "refused");
        addSearch("a condition after the year", "15", "2006", "2006 OR 1", "refused");
        addSearch("2.007", "15", "2.007", "2007", "disabled");
    }
    void search() {
        QFETCH(QString, screen);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, notPrinted);
        Fixture f(screen);
        QWidget& form = *f.form;
        QVERIFY(showActive(form));
        QVERIFY(!button(form, "Button3")->isEnabled());
        QVERIFY(!button(form, "Button4")->isEnabled());
        QVERIFY(button(form, "Button1")->isDefault());
        typeBounds(form, from, to);
        button(form, "Button1")->click();
        QCOMPARE(button(form, "Button1")->isEnabled(), outcome != u"disabled");
        QCOMPARE(shownText(form), shown);
        QCOMPARE(button(form, "Button3")->isEnabled(), outcome == u"found");
        QCOMPARE(button(form, "Button4")->isEnabled(), outcome == u"found");
        QCOMPARE(Messages::shownTexts().join(u'\n'),
                 outcome == u"refused" ? "Λανθασμένα κριτήρια." : "");
        if (!printed.isEmpty()) {
            copyShippedReports(f.db.dir());
            PdfFolder out;
            // Inputs typed afterwards but not searched for change nothing.
            typeBounds(form, screen == u"14" ? "1/4/2007" : "2007",
                       screen == u"14" ? "30/4/2007" : "2007");
            button(form, "Button3")->click();
            QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
            const QString pdf = screen == u"14" ? "EKSODA1.pdf" : "EKSODA2.pdf";
            QCOMPARE(out.files(), QStringList{pdf});
            const QString fault =
                textFault(flattened(pdfText(out.file(pdf), {QStringLiteral("-layout")})), printed,
                          notPrinted);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            for (const char* q : {"ADOQuery3", "ADOQuery4"})
                QVERIFY(!child<Query>(form, q)->isActive());
        }
        // Closed and shown again, the screen starts afresh.
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(!child<Connection>(form, "ADOConnection1")->isConnected());
        QVERIFY(showActive(form));
        QCOMPARE(child<QLineEdit>(form, "Edit1")->text() + child<QLineEdit>(form, "Edit2")->text(),
                 QString());
        QVERIFY(!button(form, "Button3")->isEnabled());
        QVERIFY(!button(form, "Button4")->isEnabled());
        QVERIFY(button(form, "Button1")->isEnabled());
    }

    // The last search saved as a workbook, whatever the inputs hold by then: the list with
    // typed cells, an empty row, and the totals in bold.
    void workbookOfTheLastSearch_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cells");
        const QString list14 =
            "*Περιγραφή|*Ημερομηνία|*Αξία (EUR)|*Φ.Π.Α (EUR)|*Αξία + Φ.Π.Α (EUR)";
        QTest::newRow("March 2007")
            << "14"
            << "01/03/2007"
            << "31/03/2007"
            << "Έξοδα 1-3-2007 έως 31-3-2007"
            << list14 + ";Αρχή Μαρτίου|@2007-03-01|#10|#2.4|#12.4;Χωρίς ΦΠΑ|@2007-03-15|#5||"
                        ";Τέλος Μαρτίου|@2007-03-31|#30|#7.2|#37.2;||||;*Σύνολο||*#45|*#9.6|*#49.6";
        QTest::newRow("a range without expenses: the titles and an empty total")
            << "14"
            << "1/5/2007"
            << "31/5/2007"
            << "Έξοδα 1-5-2007 έως 31-5-2007" << list14 + ";||||;*Σύνολο||||";
        QTest::newRow("years 2006 to 2007: months and years as whole numbers")
            << "15"
            << "2006"
            << "2007"
            << "Έξοδα κατά μήνα 2006 έως 2007"
            << "*Μήνας|*Έτος|*Αξία (EUR)|*Φ.Π.Α (EUR)|*Αξία +Φ.Π.Α (EUR);#1|#2006|#100|#10|#110;"
               "#3|#2006|#201|#20.5|#221.5;#1|#2007|#50|#5|#55;||||;*Σύνολο||*#351|*#35.5|*#386.5";
    }
    void workbookOfTheLastSearch() {
        QFETCH(QString, screen);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, name);
        QFETCH(QString, cells);
        Fixture f(screen);
        QWidget& form = *f.form;
        QVERIFY(showActive(form));
        typeBounds(form, from, to);
        button(form, "Button1")->click();
        typeBounds(form, "1/4/2007", "2008");
        QString folder, proposed;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* dialog = qobject_cast<QFileDialog*>(&d)) {
                folder = dialog->directory().absolutePath();
                proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        button(form, "Button4")->click();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        QCOMPARE(folder, QDir(f.db.dir()).absolutePath());
        QCOMPARE(proposed, name + ".xlsx");
        SheetFile file;
        MV_VERIFY_NOTHROW(file = readXlsx(QDir(folder).filePath(proposed)));
        QCOMPARE(file.sheets, QStringList{name});
        QCOMPARE(file.frozen, "A2");
        QCOMPARE(file.text(), cells);
    }

    // The list's statement, then its totals', to the letter.
    void statementsAreExact() {
        const auto statements = [](const char* screen, const char* from, const char* to) {
            Fixture f(QString::fromLatin1(screen));
            typeBounds(*f.form, QString::fromLatin1(from), QString::fromLatin1(to));
            button(*f.form, "Button1")->click();
            return child<Query>(*f.form, "ADOQuery1")->sqlText() + u'\n' +
                   child<Query>(*f.form, "ADOQuery2")->sqlText();
        };
        const QString between =
            QStringLiteral(" WHERE EKSODA.HMEROMHNIA Between #3/1/2007# AND #3/31/2007#");
        const QString sums = QStringLiteral(
            "Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format(SUM(EKSODA.VAT),'0.00') "
            "AS VAT, Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM "
            "EKSODA WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN 2006 AND 2007");
        QCOMPARE(statements("14", "01/03/2007", "31/03/2007"),
                 "SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
                 "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') AS VAT, "
                 "Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, EKSODA.PERIGRAFH FROM EKSODA" +
                     between +
                     " ORDER BY EKSODA.HMEROMHNIA ASC\n"
                     "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                     "Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                     "Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM EKSODA" +
                     between);
        QCOMPARE(statements("15", "2006", "2007"),
                 "SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], YEAR(EKSODA.HMEROMHNIA) AS [YEAR], " +
                     sums +
                     " GROUP BY MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  ORDER BY "
                     "YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC\nSELECT " +
                     sums);
        QVERIFY(Messages::shown().isEmpty());
    }
};

QTEST_MAIN(TestExpenses)
#include "tst_expenses.moc"
