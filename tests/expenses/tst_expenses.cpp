#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"

#include <QGroupBox>
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
const QString kMarchRows =
    QStringLiteral("Αρχή Μαρτίου|01/03/2007|10,00|2,40|12,40;Χωρίς ΦΠΑ|15/03/2007|5,00||;"
                   "Τέλος Μαρτίου|31/03/2007|30,00|7,20|37,20");

// Every row of a grid as shown, cells joined by "|", rows by ";".
QString gridText(const QWidget& screen) {
    const QAbstractItemModel* m = child<DBGrid>(screen, "DBGrid1")->model();
    QStringList rows;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows.join(u';');
}

QString totalsText(const QWidget& screen) {
    QStringList totals;
    for (const char* name : {"DBText1", "DBText2", "DBText3"})
        totals << child<QLabel>(screen, name)->text();
    return totals.join(u'|');
}

std::unique_ptr<Screen> screenNamed(const QString& screen) {
    if (screen == u"13")
        return std::make_unique<TForm13>();
    if (screen == u"14")
        return std::make_unique<TForm14>();
    return std::make_unique<TForm15>();
}

// A caption as the person meets it: a group's title, an input's hint, a grid's column titles
// (each after its alignment: < left, | centre, > right), or the text.
QString shownCaption(const QWidget& screen, const QString& object) {
    if (auto* grid = screen.findChild<DBGrid*>(object)) {
        QStringList titles;
        for (const GridColumn& c : grid->gridModel()->columns())
            titles << (c.alignment & Qt::AlignHCenter ? u'|'
                       : c.alignment & Qt::AlignRight ? u'>'
                                                      : u'<') +
                          c.title;
        return titles.join(u' ');
    }
    if (auto* group = screen.findChild<QGroupBox*>(object))
        return group->title();
    if (auto* input = screen.findChild<QLineEdit*>(object))
        return input->toolTip();
    return captionOf(screen, object);
}

QPushButton* button(const QWidget& screen, const char* name) {
    return child<QPushButton>(screen, name);
}

void runSearch(QWidget& screen, const QString& from, const QString& to) {
    child<QLineEdit>(screen, "Edit1")->setText(from);
    child<QLineEdit>(screen, "Edit2")->setText(to);
    button(screen, "Button1")->click();
}

// A row of the search table; "disabled" rows cannot be searched at all.
void addSearch(const char* name, const char* screen, const QString& seed, const char* from,
               const char* to, const QString& rows, const char* totals, const char* outcome) {
    QTest::newRow(name) << QString::fromLatin1(screen) << seed << QString::fromUtf8(from)
                        << QString::fromUtf8(to) << rows << QString::fromUtf8(totals)
                        << QString::fromLatin1(outcome);
}

// A row of the book's table: the rows seeded, what is done, and what the file and the book
// show afterwards.
void addBookCase(const char* name, bool seeded, const char* action, const char* edit,
                 const char* text, const QString& stored, const char* message, const char* top) {
    QTest::newRow(name) << seeded << QString::fromLatin1(action) << QString::fromLatin1(edit)
                        << QString::fromUtf8(text) << stored << QString::fromUtf8(message)
                        << QString::fromUtf8(top);
}

} // namespace

class TestExpenses : public QObject {
    Q_OBJECT

private slots:
    void init() { scriptMessages(); }
    void cleanup() { Modal::setTestHook({}); }

    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("13", "", QStringLiteral("Λειτουργικά έξοδα - Επεξεργασία"));
        addCaption("13", "Label3", QStringLiteral("Φ.Π.Α:"));
        addCaption("13", "Label6", QStringLiteral("EUR *"));
        addCaption("13", "DBGrid1",
                   QStringLiteral("<Περιγραφή |Ημερομηνία >Ποσό (EUR) <Φ.Π.Α (EUR)"));
        addCaption("14", "", QStringLiteral("Λειτουργικά έξοδα - Αναλυτική έρευνα"));
        addCaption("14", "Edit1",
                   QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/03/2007)"));
        addCaption("14", "Button1", QStringLiteral("E") + QStringLiteral("ύ&ρεση"));
        addCaption("14", "GroupBox1", QStringLiteral("Ολικά ποσά"));
        addCaption("14", "Label7", QStringLiteral("Αξία + Φ.Π.Α (EUR):"));
        addCaption("14", "DBGrid1",
                   QStringLiteral("<Περιγραφή |Ημερομηνία >Αξία (EUR) >Φ.Π.Α (EUR) >Αξία + "
                                  "Φ.Π.Α (EUR)"));
        addCaption("15", "", QStringLiteral("Λειτουργικά έξοδα - Κατά μήνα"));
        addCaption("15", "Label1", QStringLiteral("Από το έτος:"));
        addCaption("15", "Edit2", QStringLiteral("(π.χ 2007)"));
        addCaption("15", "Button1", QStringLiteral("Εύ&ρεση"));
        addCaption("15", "DBGrid1",
                   QStringLiteral("|Μήνας |Έτος >Αξία (EUR) >Φ.Π.Α (EUR) >Αξία +Φ.Π.Α (EUR)"));
    }
    void captionsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, object);
        QFETCH(QString, text);
        TestDatabase db;
        QCOMPARE(shownCaption(*screenNamed(screen), object), text);
    }

    // Seeded, the book shows "Ενοίκιο" (5/3/2007) first; "insert" types the four fields.
    void workingInTheBook_data() {
        QTest::addColumn<bool>("seeded");
        for (const char* column : {"action", "edit", "text", "stored", "message", "top"})
            QTest::addColumn<QString>(column);
        const QString seeded =
            QStringLiteral("2007-01-10=20.5=4.92=Ρεύμα;2007-03-05=100.0=24.0=Ενοίκιο");
        const QString added = QStringLiteral("2007-03-28=12.5=2.88=Χαρτικά");
        const char* typed = "28/3/2007;12,5;2,88;Χαρτικά";
        addBookCase("first expense into an empty book", false, "insert", "", typed, added, "",
                    "Χαρτικά");
        addBookCase("a new latest expense on top", true, "insert", "", typed, seeded + u';' + added,
                    "", "Χαρτικά");
        addBookCase("value and VAT left blank are none", false, "insert", "", "28/3/2007;;;Χαρτικά",
                    QStringLiteral("2007-03-28=0.0=0.0=Χαρτικά"), "", "Χαρτικά");
        addBookCase("31/02/2024 refused", true, "type", "DBEdit1", "31/02/2024", seeded,
                    "31/02/2024", "Ενοίκιο");
        addBookCase("12.50 refused", true, "type", "DBEdit2", "12.50", seeded, "12.50", "Ενοίκιο");
        addBookCase("δώδεκα refused", true, "type", "DBEdit3", "δώδεκα", seeded, "δώδεκα",
                    "Ενοίκιο");
        addBookCase("Delete answered Cancel", true, "Cancel", "", "", seeded, "Delete record?",
                    "Ενοίκιο");
        addBookCase("Delete answered OK", true, "OK", "", "",
                    QStringLiteral("2007-01-10=20.5=4.92=Ρεύμα"), "Delete record?", "Ρεύμα");
    }
    void workingInTheBook() {
        QFETCH(bool, seeded);
        QFETCH(QString, action);
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(QString, top);
        TestDatabase db;
        if (seeded)
            db.exec(QStringLiteral("INSERT INTO EKSODA VALUES ('2007-01-10',20.5,4.92,'Ρεύμα'),"
                                   "('2007-03-05',100,24,'Ενοίκιο')"));
        {
            TForm13 book;
            QVERIFY(showActive(book));
            auto* navigator = child<DBNavigator>(book, "DBNavigator1");
            if (action == u"insert") {
                navigator->click(DBNavigator::Insert);
                const QStringList typed = text.split(u';');
                for (int i = 0; i < typed.size(); ++i) {
                    auto* field = child<DBEdit>(book, QStringLiteral("DBEdit%1").arg(i + 1));
                    field->setFocus();
                    typeText(field, typed[i]);
                }
                navigator->click(DBNavigator::Post);
            } else if (action == u"type") {
                auto* field = child<DBEdit>(book, edit);
                field->setFocus();
                field->selectAll();
                typeText(field, text);
                navigator->click(DBNavigator::Post);
                QCOMPARE(child<DataSet>(book, "ADOTable1")->state(), DataSet::State::Edit);
                QCOMPARE(field->text(), text);
            } else {
                Messages::setNextAnswers({action == u"OK"});
                navigator->click(DBNavigator::Delete);
            }
            QCOMPARE(db.scalar(QStringLiteral(
                         "SELECT group_concat(HMEROMHNIA||'='||POSO||'='||VAT||'='||PERIGRAFH,"
                         "';') FROM (SELECT * FROM EKSODA ORDER BY HMEROMHNIA)")),
                     stored);
            QCOMPARE(Messages::shown().size(), message.isEmpty() ? 0 : 1);
            if (!message.isEmpty())
                QVERIFY(Messages::shown().first().text.contains(message));
            button(book, "Button1")->click();
            QVERIFY(!child<Connection>(book, "ADOConnection1")->isConnected());
        }
        TForm13 again;
        QCOMPARE(gridText(again).section(u'|', 0, 0), top);
        QCOMPARE(child<DBEdit>(again, "DBEdit4")->text(), top);
    }

    void search_data() {
        for (const char* column : {"screen", "seed", "from", "to", "rows", "totals", "outcome"})
            QTest::addColumn<QString>(column);
        const char* none = "||";
        addSearch("March 2007, oldest first", "14", kMarch, "01/03/2007", "31/03/2007", kMarchRows,
                  "45,00|9,60|49,60", "found");
        addSearch("one day, both bounds included", "14", kMarch, "28/2/2007", "28/2/2007",
                  "Φεβρουάριος|28/02/2007|1000,00|0,00|1000,00", "1000,00|0,00|1000,00", "found");
        addSearch("a range without expenses", "14", kMarch, "1/5/2007", "31/12/2007", "", none,
                  "found");
        addSearch("31/02/2007", "14", kMarch, "31/02/2007", "31/03/2007", "", none, "refused");
        addSearch("end date of letters", "14", kMarch, "1/3/2007", "αύριο", "", none, "refused");
        addSearch("01.03.2007", "14", kMarch, "01.03.2007", "31/03/2007", "", none, "disabled");
        addSearch("years 2006-2007", "15", kYears, "2006", "2007",
                  "1|2006|100,00|10,00|110,00;3|2006|201,00|20,50|221,50;1|2007|50,00|5,00|55,00",
                  "351,00|35,50|386,50", "found");
        addSearch("2007 alone", "15", kYears, " 2007 ", "2007", "1|2007|50,00|5,00|55,00",
                  "50,00|5,00|55,00", "found");
        addSearch("years without expenses", "15", kYears, "2010", "2012", "", none, "found");
        addSearch("year 0", "15", kYears, "0", "0", "", none, "found");
        addSearch("year 99999", "15", kYears, "99999", "99999", "", none, "found");
        addSearch("both years empty", "15", kYears, "", "", "", none, "refused");
        addSearch("year of letters", "15", kYears, "δύο", "2007", "", none, "refused");
        addSearch("column names as years", "15", kYears, "VAT", "POSO", "", none, "refused");
        addSearch("a condition after the year", "15", kYears, "2006", "2006 OR 1", "", none,
                  "refused");
        addSearch("2.007", "15", kYears, "2.007", "2007", "", none, "disabled");
    }
    void search() {
        QFETCH(QString, screen);
        QFETCH(QString, seed);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, rows);
        QFETCH(QString, totals);
        QFETCH(QString, outcome);
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO EKSODA VALUES ") + seed);
        const auto form = screenNamed(screen);
        QVERIFY(showActive(*form));
        QVERIFY(!button(*form, "Button3")->isEnabled());
        QVERIFY(button(*form, "Button1")->isDefault());
        runSearch(*form, from, to);
        QCOMPARE(button(*form, "Button1")->isEnabled(), outcome != u"disabled");
        QCOMPARE(gridText(*form), rows);
        QCOMPARE(totalsText(*form), totals);
        QCOMPARE(button(*form, "Button3")->isEnabled(), outcome == u"found");
        QCOMPARE(Messages::shownTexts(), outcome == u"refused"
                                             ? QStringList{ExpenseAnalysis::wrongCriteriaMessage()}
                                             : QStringList{});
    }

    void statementsAreExact_data() {
        for (const char* column : {"screen", "query", "statement"})
            QTest::addColumn<QString>(column);
        const QString between = QStringLiteral(" WHERE EKSODA.HMEROMHNIA Between #3/1/2007# AND "
                                               "#3/31/2007#");
        const QString years =
            QStringLiteral(" WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN 2006 AND 2007");
        QTest::newRow("list between dates")
            << "14"
            << "ADOQuery1"
            << "SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
               "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') AS VAT, "
               "Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, EKSODA.PERIGRAFH FROM EKSODA" +
                   between + " ORDER BY EKSODA.HMEROMHNIA ASC";
        QTest::newRow("totals between dates")
            << "14"
            << "ADOQuery2"
            << "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, Format(SUM(EKSODA.VAT),'0.00') "
               "AS VAT, Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM EKSODA" +
                   between;
        QTest::newRow("months")
            << "15"
            << "ADOQuery1"
            << "SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], YEAR(EKSODA.HMEROMHNIA) AS [YEAR], "
               "Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
               "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM EKSODA" +
                   years +
                   " GROUP BY MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  ORDER BY "
                   "YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC";
        QTest::newRow("totals of the years")
            << "15"
            << "ADOQuery2"
            << "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format(SUM(EKSODA.VAT),'0.00') "
               "AS VAT, Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM EKSODA" +
                   years;
    }
    void statementsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, query);
        QFETCH(QString, statement);
        TestDatabase db;
        const auto form = screenNamed(screen);
        if (screen == u"14")
            runSearch(*form, QStringLiteral("01/03/2007"), QStringLiteral("31/03/2007"));
        else
            runSearch(*form, QStringLiteral("2006"), QStringLiteral("2007"));
        QCOMPARE(child<Query>(*form, query)->sqlText(), statement);
        QVERIFY(Messages::shown().isEmpty());
    }

    // The printout shows the last search, whatever the inputs hold when it is asked for.
    void printout_data() {
        for (const char* column : {"screen", "from", "to"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("March 2007") << "14"
                                    << "01/03/2007"
                                    << "31/03/2007"
                                    << QStringList{"Περίοδος: από 1/3/2007 έως 31/3/2007",
                                                   "Εγγραφές: 3",
                                                   "01/03/2007 Αρχή Μαρτίου 10,00 2,40 12,40",
                                                   "15/03/2007 Χωρίς ΦΠΑ 5,00",
                                                   "31/03/2007 Τέλος Μαρτίου 30,00 7,20 37,20",
                                                   "Αξία (EUR) 45,00",
                                                   "Φ.Π.Α (EUR) 9,60",
                                                   "Αξία + Φ.Π.Α (EUR) 49,60"}
                                    << QStringList{"Φεβρουάριος", "Απρίλιος", "Δεν βρέθηκαν"};
        QTest::newRow("a range without expenses")
            << "14"
            << "1/5/2007"
            << "31/5/2007"
            << QStringList{"από 1/5/2007 έως 31/5/2007", "Εγγραφές: 0", "Δεν βρέθηκαν έξοδα",
                           "Αξία + Φ.Π.Α (EUR) 0,00"}
            << QStringList{"Μαρτίου"};
        QTest::newRow("months of 2006-2007") << "15"
                                             << "2006"
                                             << "2007"
                                             << QStringList{"Έτη: από 2006 έως 2007",
                                                            "Μήνες: 3",
                                                            "1 Ιανουάριος 2006 100,00 10,00 110,00",
                                                            "3 Μάρτιος 2006 201,00 20,50 221,50",
                                                            "1 Ιανουάριος 2007 50,00 5,00 55,00",
                                                            "Αξία + Φ.Π.Α (EUR) 386,50"}
                                             << QStringList{"Δεν βρέθηκαν"};
    }
    void printout() {
        QFETCH(QString, screen);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        TestDatabase db;
        copyShippedReports(db.dir());
        db.exec(QStringLiteral("INSERT INTO EKSODA VALUES ") + (screen == u"14" ? kMarch : kYears));
        PdfFolder out;
        const auto form = screenNamed(screen);
        runSearch(*form, from, to);
        // Inputs typed afterwards but not searched for change nothing.
        child<QLineEdit>(*form, "Edit1")->setText(screen == u"14" ? "1/4/2007" : "2007");
        child<QLineEdit>(*form, "Edit2")->setText(screen == u"14" ? "30/4/2007" : "2007");
        button(*form, "Button3")->click();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        const QString pdf = screen == u"14" ? "EKSODA1.pdf" : "EKSODA2.pdf";
        QCOMPARE(out.files(), QStringList{pdf});
        const QString fault = textFault(
            flattened(pdfText(out.file(pdf), {QStringLiteral("-layout")})), present, absent);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        for (const char* q : {"ADOQuery3", "ADOQuery4"})
            QVERIFY(!child<Query>(*form, q)->isActive());
    }

    void reopeningStartsAfresh_data() {
        QTest::addColumn<QString>("screen");
        QTest::newRow("analysis") << "14";
        QTest::newRow("monthly") << "15";
    }
    void reopeningStartsAfresh() {
        QFETCH(QString, screen);
        TestDatabase db;
        const auto form = screenNamed(screen);
        QVERIFY(showActive(*form));
        runSearch(*form, screen == u"14" ? "1/3/2007" : "2007",
                  screen == u"14" ? "31/3/2007" : "2007");
        QVERIFY(button(*form, "Button3")->isEnabled());
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(!child<Connection>(*form, "ADOConnection1")->isConnected());
        QVERIFY(showActive(*form));
        QCOMPARE(child<QLineEdit>(*form, "Edit1")->text() +
                     child<QLineEdit>(*form, "Edit2")->text(),
                 QString());
        QVERIFY(!button(*form, "Button3")->isEnabled());
        QVERIFY(button(*form, "Button1")->isEnabled());
    }
};

QTEST_MAIN(TestExpenses)
#include "tst_expenses.moc"
