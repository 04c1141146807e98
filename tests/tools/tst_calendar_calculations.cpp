#include "../ui/UiFixture.h"

#include "tools/Unit8.h"
#include "ui/DatePicker.h"
#include "ui/SpinEdit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace {

// "2008 είναι 27 Απριλίου": the year and what the screen shows for it.
QString easterLabel(const QDate& d) {
    return QStringLiteral("%1 είναι %2 ").arg(d.year()).arg(d.day()) +
           (d.month() == 4 ? "Απριλίου" : "Μαϊου");
}

// Orthodox Easter Sunday by Meeus's Julian algorithm, moved to the Gregorian calendar
// (13 days later from 1900 to 2099).
QDate orthodoxEaster(int year) {
    const int a = year % 4, b = year % 7, c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int f = d + (2 * a + 4 * b - d + 34) % 7 + 114;
    return QDate(year, f / 31, f % 31 + 1).addDays(13);
}

struct Screen8 {
    TForm8 form;
    SpinEdit* year = child<SpinEdit>(form, "SpinEdit1");
    QLabel* easter = child<QLabel>(form, "Label2");
    QDateEdit* from = child<QDateEdit>(form, "DateTimePicker1");
    QDateEdit* to = child<QDateEdit>(form, "DateTimePicker2");
    QLineEdit* yearText = year->findChild<QLineEdit*>();
    // The two dates as shown beside their pickers, then the day count.
    QString dates() const {
        return child<QLineEdit>(form, "Edit1")->text() + u' ' +
               child<QLineEdit>(form, "Edit2")->text() + u' ' +
               child<QLabel>(form, "Label7")->text();
    }
};

void addRow(const char* name, const char* a, const char* b, const char* c) {
    QTest::newRow(name) << QString::fromUtf8(a) << QString::fromUtf8(b) << QString::fromUtf8(c);
}

} // namespace

// The calendar calculations: Easter for a year and the days between two dates.
class TestCalendarCalculations : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixedForTesting(QDateTime(QDate(2024, 5, 5), QTime(10, 30))); }
    void cleanup() { ScreenFixture::end(); }

    // Opened on 5 May 2024: this year's Easter, today in every date, no day count.
    void opensOnToday() {
        Screen8 s;
        QCOMPARE(s.year->text(), QStringLiteral("2024"));
        QCOMPARE(s.easter->text(), QStringLiteral("είναι 5 Μαϊου"));
        QCOMPARE(child<QCalendarWidget>(s.form, "MonthCalendar1")->selectedDate(),
                 QDate(2024, 5, 5));
        QCOMPARE(s.dates(), QStringLiteral("5/5/2024 5/5/2024 "));
    }

    // Every accepted year by the congruences, for 1900 to 2099 the true Orthodox Easter too,
    // and the example years as known.
    void easterOfEveryYear() {
        Screen8 s;
        QStringList all;
        for (int y = 1583; y <= 2100; ++y) {
            const int d = (19 * (y % 19) + 16) % 30;
            const int n = d + (2 * (y % 4) + 4 * (y % 7) + 6 * d) % 7 + 3;
            s.yearText->setText(QString::number(y));
            all << QString::number(y) + u' ' + s.easter->text();
            QCOMPARE(all.last(), easterLabel(n < 31 ? QDate(y, 4, n) : QDate(y, 5, n - 30)));
            if (y >= 1900 && y <= 2099)
                QCOMPARE(all.last(), easterLabel(orthodoxEaster(y)));
        }
        for (const char* example :
             {"2008 είναι 27 Απριλίου", "2010 είναι 4 Απριλίου", "2013 είναι 5 Μαϊου",
              "2024 είναι 5 Μαϊου", "2025 είναι 20 Απριλίου", "2050 είναι 17 Απριλίου",
              "1583 είναι 13 Απριλίου", "2100 είναι 1 Μαϊου"})
            QVERIFY2(all.contains(QString::fromUtf8(example)), example);
    }

    // What is typed, or an arrow pressed over a year, counts at once; leaving the field holds
    // the text to 1583-2100.
    void yearField_data() {
        QTest::addColumn<QString>("typed"); // or "up"/"down" over a year
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("left"); // the text once the field is left
        addRow("inside", "2008", "είναι 27 Απριλίου", "2008");
        addRow("below", "1500", "", "1583");
        addRow("above", "3000", "", "2100");
        addRow("not a number", "20α8", "είναι 13 Απριλίου", "1583");
        addRow("empty", "", "είναι 13 Απριλίου", "1583");
        addRow("up to the top", "up 2099", "είναι 1 Μαϊου", "2100");
        addRow("up at the top", "up 2100", "είναι 1 Μαϊου", "2100");
        addRow("down at the bottom", "down 1583", "είναι 13 Απριλίου", "1583");
    }
    void yearField() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, left);
        Screen8 s;
        QVERIFY(showActive(s.form));
        s.year->setFocus();
        s.yearText->selectAll();
        if (typed.contains(u' ')) {
            s.yearText->setText(typed.section(u' ', 1));
            QTest::keyClick(s.year, typed.startsWith(u"up") ? Qt::Key_Up : Qt::Key_Down);
        } else {
            QTest::keyClick(s.year, Qt::Key_Delete);
            typeText(s.year, typed);
        }
        QCOMPARE(s.easter->text(), shown);
        QTest::keyClick(s.year, Qt::Key_Tab);
        QVERIFY(!s.year->hasFocus());
        QCOMPARE(s.year->text(), left);
        QCOMPARE(s.easter->text(), TForm8::EasterText(left.toInt()));
    }

    // Both dates typed the way they are written, from the year field on with Tab; the days
    // are counted only forwards.
    void datesTyped_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("shown");
        addRow("one digit, two digit", "1/1/2008", "31/12/2008",
               "1/1/2008 31/12/2008 Αριθμός ημερών=365");
        addRow("two digit day", "28/2/2024", "1/3/2024", "28/2/2024 1/3/2024 Αριθμός ημερών=2");
        addRow("leading zeros", "05/03/2024", "06/03/2024", "5/3/2024 6/3/2024 Αριθμός ημερών=1");
        addRow("same day", "5/5/2024", "5/5/2024", "5/5/2024 5/5/2024 ");
        addRow("reversed", "6/5/2024", "5/5/2024", "6/5/2024 5/5/2024 ");
    }
    void datesTyped() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, shown);
        Screen8 s;
        QVERIFY(showActive(s.form));
        s.year->setFocus();
        for (QDateEdit* picker : {s.from, s.to}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), picker);
            typeText(picker, picker == s.from ? from : to);
        }
        QTest::keyClick(s.to, Qt::Key_Tab);
        QCOMPARE(s.dates(), shown);
    }

    // A whole date typed into a picker gives exactly that date, however the field was entered
    // and whatever it showed, even at its limits; or it is refused with a message, the text
    // staying as typed and the cursor in the field. "Από" starts at 10/12/2008, "Μέχρι" at
    // 31/12/2008 unless the row sets it.
    void dateTypedReplacesTheShownOne_data() {
        QTest::addColumn<QString>("picker");  // "from" or "to"
        QTest::addColumn<QDate>("start");     // what it shows before
        QTest::addColumn<QString>("entry");   // how it is entered
        QTest::addColumn<QString>("typed");   // then "|" and the key that leaves it
        QTest::addColumn<QString>("shown");   // both dates and the count afterwards
        QTest::addColumn<QString>("refusal"); // the message, empty when accepted
        const auto row = [](const char* name, const char* picker, QDate start, const char* entry,
                            const char* typed, const char* shown, const QString& refusal = {}) {
            QTest::newRow(name) << QString::fromUtf8(picker) << start << QString::fromUtf8(entry)
                                << QString::fromUtf8(typed) << QString::fromUtf8(shown) << refusal;
        };
        const QDate dec10(2008, 12, 10), top(2050, 1, 1), bottom(1940, 1, 1);
        const char* year = "1/1/2008 31/12/2008 Αριθμός ημερών=365";
        row("click on the day", "from", dec10, "click day", "1/1/2008|tab", year);
        row("click on the year", "from", dec10, "click year", "1/1/2008|tab", year);
        row("click after the text", "from", dec10, "click end", "1/1/2008|tab", year);
        row("double-click on the month", "from", dec10, "double-click month", "1/1/2008|tab", year);
        row("Tab from the year", "from", dec10, "tab", "1/1/2008|tab", year);
        row("Shift+Tab from the exit", "to", dec10, "backtab", "31/12/2008|backtab",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21");
        row("left by Enter", "from", dec10, "click day", "01/01/08|enter", year);
        row("left by a click elsewhere", "from", dec10, "click day", "1/1/2008|click", year);
        row("Μέχρι at its top limit", "to", top, "click day", "31/12/2008|tab",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21");
        row("Από at its bottom limit", "from", bottom, "tab", "1/1/2008|tab", year);
        row("the top limit itself", "to", dec10, "click year", "1/1/2050|tab",
            "10/12/2008 1/1/2050 Αριθμός ημερών=14997");
        row("Backspace corrects the shown date", "from", QDate(2009, 1, 1), "click end", "<8|tab",
            year);
        const QString range = QStringLiteral(" είναι εκτός ορίων. Δώστε ημερομηνία από "
                                             "1/1/1940 έως 1/1/2050.");
        row("past the top limit", "to", top, "click day", "2/1/2050|tab",
            "10/12/2008 1/1/2050 Αριθμός ημερών=14997", "Η ημερομηνία 2/1/2050" + range);
        row("before the bottom limit", "from", dec10, "tab", "31/12/1939|tab",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21", "Η ημερομηνία 31/12/1939" + range);
        row("no such day", "from", dec10, "click day", "31/2/2008|enter",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21",
            DatePicker::notADateText(QStringLiteral("31/2/2008")));
        row("a day alone", "from", dec10, "click day", "15|click",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21",
            DatePicker::notADateText(QStringLiteral("15")));
        row("Esc gives the typing up", "from", dec10, "click day", "1/1/2008|escape",
            "10/12/2008 31/12/2008 Αριθμός ημερών=21");
    }
    void dateTypedReplacesTheShownOne() {
        QFETCH(QString, picker);
        QFETCH(QDate, start);
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, refusal);
        ScreenFixture::begin();
        Screen8 s;
        s.from->setDate(QDate(2008, 12, 10));
        s.to->setDate(QDate(2008, 12, 31));
        auto* field = static_cast<DatePicker*>(picker == u"from" ? s.from : s.to);
        field->setDate(start);
        QVERIFY(showActive(s.form));
        QLineEdit* line = field->findChild<QLineEdit*>();
        const QString before = line->text();
        // The middle of a part of the shown text: 0 the day, 1 the month, 2 the year.
        const auto partAt = [&](int part) {
            const QStringList parts = before.split(u'/');
            const QString upTo = QStringList(parts.mid(0, part)).join(u'/') +
                                 (part > 0 ? QStringLiteral("/") : QString()) + parts[part].left(1);
            return QPoint(line->fontMetrics().horizontalAdvance(upTo) + 2, line->height() / 2);
        };
        if (entry == u"tab") {
            s.year->setFocus();
            QTest::keyClick(s.year, Qt::Key_Tab);
            if (field == s.to)
                QTest::keyClick(s.from, Qt::Key_Tab);
        } else if (entry == u"backtab") {
            child<QPushButton>(s.form, "Button1")->setFocus();
            QTest::keyClick(child<QPushButton>(s.form, "Button1"), Qt::Key_Backtab);
        } else if (entry.startsWith(u"double-click")) {
            QTest::mouseDClick(line, Qt::LeftButton, {}, partAt(1));
        } else {
            const QPoint at = entry == u"click day" ? partAt(0)
                              : entry == u"click year"
                                  ? partAt(2)
                                  : QPoint(line->width() - 4, line->height() / 2);
            QTest::mouseClick(line, Qt::LeftButton, {}, at);
        }
        QCOMPARE(QApplication::focusWidget(), field);
        // "<" stands for Backspace.
        const QString keys = typed.section(u'|', 0, 0);
        const QString leave = typed.section(u'|', 1);
        for (const QChar c : keys) {
            if (c == u'<')
                QTest::keyClick(field, Qt::Key_Backspace);
            else
                typeText(field, QString(c));
        }
        if (leave == u"tab")
            QTest::keyClick(field, Qt::Key_Tab);
        else if (leave == u"backtab")
            QTest::keyClick(field, Qt::Key_Backtab);
        else if (leave == u"enter")
            QTest::keyClick(field, Qt::Key_Return);
        else if (leave == u"escape")
            QTest::keyClick(field, Qt::Key_Escape);
        else
            QTest::mouseClick(s.yearText, Qt::LeftButton);
        QCOMPARE(s.dates(), shown);
        QVERIFY(s.form.isVisible());
        QCOMPARE(Messages::shownTexts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        if (refusal.isEmpty()) {
            QVERIFY(!field->isTyping());
            QCOMPARE(line->text(),
                     shown.section(u' ', field == s.from ? 0 : 1, field == s.from ? 0 : 1));
        } else {
            // Refused: the text as typed, still in the field, the date untouched.
            QCOMPARE(line->text(), keys);
            QCOMPARE(QApplication::focusWidget(), field);
            QVERIFY(field->isTyping());
        }
    }

    void datesAreHeldTo1940To2050() {
        Screen8 s;
        s.to->setDate(QDate(2100, 1, 1));
        s.from->setDate(QDate(1900, 1, 1));
        QCOMPARE(s.dates(), QStringLiteral("1/1/1940 1/1/2050 Αριθμός ημερών=40178"));
    }
};

QTEST_MAIN(TestCalendarCalculations)
#include "tst_calendar_calculations.moc"
