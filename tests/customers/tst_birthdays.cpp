#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "customers/Unit23.h"
#include "ui/DatePicker.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Customers born at the edges of months, of the year and on 29 February; one without a
// birth date and one whose birth lies after the spans asked for.
void addCustomers(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO STOIXEIA_PELATH(EPWNYMO,ONOMA,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2) "
        "VALUES ('Αλεξίου','Άννα','1990-12-31','2101111111','6941111111'),"
        "('Βασιλείου','Βάσω','1985-01-01','2102222222',NULL),"
        "('Γεωργίου','Γεωργία','2000-02-29',NULL,'6943333333'),"
        "('Δημητρίου','Δήμητρα','1970-02-28',NULL,NULL),"
        "('Ευαγγέλου','Εύα','1999-03-01',NULL,NULL),"
        "('Ζαχαρίου','Ζωή','1980-06-30',NULL,NULL),"
        "('Ηλιοπούλου','Ήρα','1980-07-01',NULL,NULL),"
        "('Θεοδώρου','Θάλεια',NULL,NULL,NULL),"
        "('Ιωάννου','Ιφιγένεια','2030-01-05',NULL,NULL),"
        "('Καλογήρου','Καίτη','1960-12-28',NULL,NULL)"));
}

// Each listed row as "weekday date surname age phone1 phone2".
QStringList listed(const TForm23& form) {
    return gridRows(form, "DBGrid1", {0, 1, 2, 5, 6, 7}, " ", true);
}

// The screen over a fresh file with the clock at `today`, shown as the main window does.
struct Birthdays : ScreenFixture {
    std::unique_ptr<TForm23> form;
    explicit Birthdays(const QDate& today) {
        Clock::setFixedForTesting(today);
        addCustomers(db);
        form = std::make_unique<TForm23>();
    }
    ~Birthdays() { form.reset(); }
    DatePicker* picker(int n) const {
        return child<DatePicker>(*form, QStringLiteral("DateTimePicker%1").arg(n));
    }
    // A span: "today", "week", "month", or two dates typed d/M/yyyy.
    void choose(const QString& span) {
        const QStringList dates = span.split(u'-');
        if (dates.size() == 2) {
            for (int i = 0; i < 2; ++i) {
                picker(i + 1)->setFocus();
                typeText(picker(i + 1), dates[i]);
                QTest::keyClick(picker(i + 1), Qt::Key_Tab);
                if (picker(i + 1)->isTyping())
                    return; // refused as it was left
            }
            child<QPushButton>(*form, "Button1")->click();
            return;
        }
        const char* radio = span == u"week" ? "RadioButton2" : "RadioButton3";
        if (span == u"today") // shown first; another span and back
            child<QRadioButton>(*form, "RadioButton2")->setChecked(true);
        child<QRadioButton>(*form, span == u"today" ? "RadioButton1" : radio)->setChecked(true);
    }
};

} // namespace

// The customers' birthdays in a span, printed and refused as staff see them.
class TestBirthdays : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ScreenFixture::end(); }

    void spans_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("span");
        QTest::addColumn<QStringList>("rows");
        const QDate newYearsEve(2026, 12, 31); // a Thursday
        QTest::newRow("today, the last day of the year")
            << newYearsEve << "today"
            << QStringList{"Πέμπτη 31/12/2026 Αλεξίου 36 2101111111 6941111111"};
        QTest::newRow("this week, across the year's end")
            << newYearsEve << "week"
            << QStringList{"Δευτέρα 28/12/2026 Καλογήρου 66",
                           "Πέμπτη 31/12/2026 Αλεξίου 36 "
                           "2101111111 6941111111",
                           "Παρασκευή 1/1/2027 Βασιλείου 42 2102222222"};
        QTest::newRow("typed, across the year's end")
            << newYearsEve << "30/12/2026-2/1/2027"
            << QStringList{"Πέμπτη 31/12/2026 Αλεξίου 36 2101111111 6941111111",
                           "Παρασκευή 1/1/2027 Βασιλείου 42 2102222222"};
        QTest::newRow("this month, to its 30th")
            << QDate(2026, 6, 15) << "month" << QStringList{"Τρίτη 30/6/2026 Ζαχαρίου 46"};
        QTest::newRow("typed, across a month's end")
            << QDate(2026, 6, 15) << "30/6/2026-1/7/2026"
            << QStringList{"Τρίτη 30/6/2026 Ζαχαρίου 46", "Τετάρτη 1/7/2026 Ηλιοπούλου 46"};
        QTest::newRow("29 February on the 28th in a common year")
            << QDate(2027, 2, 28) << "today"
            << QStringList{"Κυριακή 28/2/2027 Γεωργίου 27 6943333333",
                           "Κυριακή 28/2/2027 Δημητρίου 57"};
        QTest::newRow("nor again on 1 March")
            << QDate(2027, 3, 1) << "today" << QStringList{"Δευτέρα 1/3/2027 Ευαγγέλου 28"};
        QTest::newRow("February of a common year")
            << QDate(2027, 2, 10) << "month"
            << QStringList{"Κυριακή 28/2/2027 Γεωργίου 27 6943333333",
                           "Κυριακή 28/2/2027 Δημητρίου 57"};
        QTest::newRow("28 February of a leap year")
            << QDate(2028, 2, 28) << "today" << QStringList{"Δευτέρα 28/2/2028 Δημητρίου 58"};
        QTest::newRow("29 February of a leap year")
            << QDate(2028, 2, 29) << "today"
            << QStringList{"Τρίτη 29/2/2028 Γεωργίου 28 6943333333"};
        QTest::newRow("a leap week over 28 February to 1 March")
            << QDate(2028, 2, 29) << "week"
            << QStringList{"Δευτέρα 28/2/2028 Δημητρίου 58",
                           "Τρίτη 29/2/2028 Γεωργίου 28 6943333333",
                           "Τετάρτη 1/3/2028 Ευαγγέλου 29"};
        QTest::newRow("not yet born, no birthday") << QDate(2030, 1, 5) << "today" << QStringList{};
        QTest::newRow("born the year before, one year old")
            << QDate(2031, 1, 5) << "today" << QStringList{"Κυριακή 5/1/2031 Ιωάννου 1"};
        QTest::newRow("a whole year in day order")
            << QDate(2026, 6, 15) << "1/7/2026-30/6/2027"
            << QStringList{"Τετάρτη 1/7/2026 Ηλιοπούλου 46",
                           "Δευτέρα 28/12/2026 Καλογήρου 66",
                           "Πέμπτη 31/12/2026 Αλεξίου 36 2101111111 6941111111",
                           "Παρασκευή 1/1/2027 Βασιλείου 42 2102222222",
                           "Κυριακή 28/2/2027 Γεωργίου 27 6943333333",
                           "Κυριακή 28/2/2027 Δημητρίου 57",
                           "Δευτέρα 1/3/2027 Ευαγγέλου 28",
                           "Τετάρτη 30/6/2027 Ζαχαρίου 47"};
    }
    void spans() {
        QFETCH(QDate, today);
        QFETCH(QString, span);
        QFETCH(QStringList, rows);
        Birthdays b(today);
        QVERIFY(showActive(*b.form));
        b.choose(span);
        QCOMPARE(listed(*b.form), rows);
        QCOMPARE(child<QLabel>(*b.form, "Label3")->text(), TForm23::countText(int(rows.size())));
        QCOMPARE(Messages::shownTexts(), QStringList());
    }

    // Opening shows today's birthdays at once.
    void opensOnToday() {
        Birthdays b(QDate(2026, 12, 31));
        QVERIFY(showActive(*b.form));
        QCOMPARE(listed(*b.form),
                 QStringList{"Πέμπτη 31/12/2026 Αλεξίου 36 2101111111 6941111111"});
    }

    // Dates that make no span are refused with a message; the earlier list is not left to
    // be taken for the answer, and what was typed stays.
    void refusedSpans_data() {
        QTest::addColumn<QString>("span");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown"); // the pickers' texts afterwards
        QTest::newRow("end before start") << "8/3/2026-1/3/2026"
                                          << "είναι πριν από"
                                          << "8/3/2026 1/3/2026";
        QTest::newRow("longer than a year") << "1/1/2026-1/1/2027"
                                            << "μεγαλύτερο από ένα έτος"
                                            << "1/1/2026 1/1/2027";
        QTest::newRow("no such day") << "31/2/2026-1/3/2026"
                                     << "ημερομηνία"
                                     << "31/2/2026 ";
        QTest::newRow("letters") << "αύριο-1/3/2026"
                                 << "ημερομηνία"
                                 << "αύριο ";
    }
    void refusedSpans() {
        QFETCH(QString, span);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        Birthdays b(QDate(2026, 12, 31));
        QVERIFY(showActive(*b.form));
        QCOMPARE(listed(*b.form).size(), 1);
        b.choose(span);
        QVERIFY2(!Messages::shownTexts().isEmpty() &&
                     Messages::shownTexts().constFirst().contains(message),
                 qPrintable(Messages::shownTexts().join(u'|')));
        QCOMPARE(b.picker(1)->text() + u' ' +
                     (b.picker(1)->isTyping() ? QString() : b.picker(2)->text()),
                 shown);
        if (!b.picker(1)->isTyping())
            QCOMPARE(listed(*b.form), QStringList());
    }

    void printout() {
        Birthdays b(QDate(2026, 12, 31));
        copyShippedReports(b.db.dir());
        PdfFolder out;
        QVERIFY(showActive(*b.form));
        b.choose(QStringLiteral("week"));
        child<QPushButton>(*b.form, "Button2")->click();
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(out.files(), QStringList{"GENETHLIA.pdf"});
        const QString text = flattened(pdfText(out.file("GENETHLIA.pdf"), {"-layout"}));
        const QString fault =
            textFault(text,
                      {"Γενέθλια πελατών", "Διάστημα: 28/12/2026 - 3/1/2027", "Πελάτες: 3",
                       "Γίνεται", "Καλογήρου", "28/12/1960", "66", "Αλεξίου", "Άννα", "2101111111",
                       "6941111111", "Βασιλείου", "1/1/2027", "Παρασκευή"},
                      {"Γεωργίου", "Ζαχαρίου"});
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

QTEST_MAIN(TestBirthdays)
#include "tst_birthdays.moc"
