#include "../ui/UiFixture.h"

#include "tools/Unit8.h"
#include "ui/SpinEdit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace {

QString easterLabel(const QDate& d) {
    return QStringLiteral("είναι %1 %2")
        .arg(d.day())
        .arg(d.month() == 4 ? QStringLiteral("Απριλίου") : QStringLiteral("Μαϊου"));
}

// Orthodox Easter Sunday by Meeus's Julian algorithm, moved to the Gregorian calendar
// (13 days later from 1900 to 2099).
QDate orthodoxEaster(int year) {
    const int a = year % 4, b = year % 7, c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int f = d + e + 114;
    return QDate(year, f / 31, f % 31 + 1).addDays(13);
}

struct Screen8 {
    TForm8 form;
    SpinEdit* year = child<SpinEdit>(form, "SpinEdit1");
    QLabel* easter = child<QLabel>(form, "Label2");
    QDateEdit* from = child<QDateEdit>(form, "DateTimePicker1");
    QDateEdit* to = child<QDateEdit>(form, "DateTimePicker2");
    QLabel* days = child<QLabel>(form, "Label7");
    QLineEdit* yearText = year->findChild<QLineEdit*>();
    QString easterFor(int y) {
        yearText->setText(QString::number(y));
        return easter->text();
    }
};

} // namespace

// The calendar calculations: Easter for a year and the days between two dates.
class TestCalendarCalculations : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixedForTesting(QDateTime(QDate(2024, 5, 5), QTime(10, 30))); }
    void cleanup() { Clock::reset(); }

    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("8", "", QStringLiteral("Ημερολογιακά"));
        addCaption("8", "Label5", QStringLiteral("Για αλλαγή κάνε click στο μήνα ή έτος"));
        addCaption("8", "Label1", QStringLiteral("Το Πάσχα για το έτος:"));
        addCaption("8", "Label3", QStringLiteral("Αριθμός ημερών μεταξύ δύο ημερομηνιών"));
        addCaption("8", "Label4", QStringLiteral("Από:"));
        addCaption("8", "Label6", QStringLiteral("Μέχρι:"));
        addCaption("8", "Button1", QStringLiteral("Έξοδος"));
    }
    void captionsAreExact() {
        QFETCH(QString, object);
        QFETCH(QString, text);
        TForm8 form;
        QCOMPARE(captionOf(form, object), text);
    }

    // Opened on 5 May 2024: this year's Easter, today in every date, no day count.
    void opensOnToday() {
        Screen8 s;
        QCOMPARE(s.year->text(), QStringLiteral("2024"));
        QCOMPARE(s.easter->text(), QStringLiteral("είναι 5 Μαϊου"));
        QCOMPARE(s.days->text(), QString());
        auto* calendar = child<QCalendarWidget>(s.form, "MonthCalendar1");
        QCOMPARE(calendar->selectedDate(), QDate(2024, 5, 5));
        QCOMPARE(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
        QCOMPARE(child<QLabel>(s.form, "Label5")->palette().color(QPalette::Window),
                 QColor(Qt::white));
        for (const char* name : {"Edit1", "Edit2"}) {
            auto* edit = child<QLineEdit>(s.form, name);
            QCOMPARE(edit->text(), QStringLiteral("5/5/2024"));
            QVERIFY(edit->isReadOnly());
            QCOMPARE(edit->focusPolicy(), Qt::NoFocus);
        }
        for (QDateEdit* picker : {s.from, s.to}) {
            QCOMPARE(picker->minimumDate(), QDate(1940, 1, 1));
            QCOMPARE(picker->maximumDate(), QDate(2050, 1, 1));
            QCOMPARE(picker->toolTip(), QStringLiteral("Επέλεξε ή δώσε ημερομηνία"));
        }
        QCOMPARE(s.year->toolTip(), QStringLiteral("Έτος"));
        QCOMPARE(child<QLabel>(s.form, "Label1")->buddy(), s.year);
        QCOMPARE(child<QLabel>(s.form, "Label4")->buddy(), s.from);
        QCOMPARE(child<QLabel>(s.form, "Label6")->buddy(), s.to);
        QCOMPARE(s.form.Year, quint16(2024));
        QCOMPARE(s.form.Day, quint16(5));
    }

    void easterOfTheExamples_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("shown");
        QTest::newRow("2008") << 2008 << "είναι 27 Απριλίου";
        QTest::newRow("2010") << 2010 << "είναι 4 Απριλίου";
        QTest::newRow("2013") << 2013 << "είναι 5 Μαϊου";
        QTest::newRow("2024") << 2024 << "είναι 5 Μαϊου";
        QTest::newRow("2025") << 2025 << "είναι 20 Απριλίου";
        QTest::newRow("2050") << 2050 << "είναι 17 Απριλίου";
        QTest::newRow("1583") << 1583 << "είναι 13 Απριλίου";
        QTest::newRow("2100") << 2100 << "είναι 1 Μαϊου";
    }
    void easterOfTheExamples() {
        QFETCH(int, year);
        QFETCH(QString, shown);
        Screen8 s;
        QCOMPARE(s.easterFor(year), shown);
    }

    // Every accepted year by the congruences, and for 1900 to 2099 the true Orthodox Easter.
    void easterOfEveryYear() {
        Screen8 s;
        for (int y = 1583; y <= 2100; ++y) {
            const int d = (19 * (y % 19) + 16) % 30;
            const int n = d + (2 * (y % 4) + 4 * (y % 7) + 6 * d) % 7 + 3;
            const QString shown = s.easterFor(y);
            QCOMPARE(shown, easterLabel(n < 31 ? QDate(y, 4, n) : QDate(y, 5, n - 30)));
            if (y >= 1900 && y <= 2099)
                QCOMPARE(shown, easterLabel(orthodoxEaster(y)));
        }
    }

    // What is typed counts at once; leaving the field holds it to 1583-2100.
    void yearField_data() {
        QTest::addColumn<QString>("typed"); // or an arrow pressed over "2099"/"1583"/"2100"
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("left"); // the text once the field is left
        QTest::newRow("inside") << "2008"
                                << "είναι 27 Απριλίου"
                                << "2008";
        QTest::newRow("below") << "1500"
                               << ""
                               << "1583";
        QTest::newRow("above") << "3000"
                               << ""
                               << "2100";
        QTest::newRow("not a number") << "20α8"
                                      << "είναι 13 Απριλίου"
                                      << "1583";
        QTest::newRow("empty") << ""
                               << "είναι 13 Απριλίου"
                               << "1583";
        QTest::newRow("up to the top") << "up 2099"
                                       << "είναι 1 Μαϊου"
                                       << "2100";
        QTest::newRow("up at the top") << "up 2100"
                                       << "είναι 1 Μαϊου"
                                       << "2100";
        QTest::newRow("down at the bottom") << "down 1583"
                                            << "είναι 13 Απριλίου"
                                            << "1583";
    }
    void yearField() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, left);
        Screen8 s;
        QVERIFY(showActive(s.form));
        s.year->setFocus();
        s.yearText->selectAll();
        if (typed.startsWith(u"up") || typed.startsWith(u"down")) {
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

    // A date typed the way it is written, entering the field with Tab.
    void datesTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::newRow("one digit each") << "1/1/2008" << QDate(2008, 1, 1);
        QTest::newRow("two digit day and month") << "31/12/2008" << QDate(2008, 12, 31);
        QTest::newRow("two digit day") << "28/2/2024" << QDate(2024, 2, 28);
        QTest::newRow("leading zeros") << "05/03/2024" << QDate(2024, 3, 5);
    }
    void datesTyped() {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        Screen8 s;
        QVERIFY(showActive(s.form));
        s.year->setFocus();
        QTest::keyClick(s.year, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), s.from);
        typeText(s.from, typed);
        QTest::keyClick(s.from, Qt::Key_Tab);
        QCOMPARE(s.from->date(), date);
        QCOMPARE(child<QLineEdit>(s.form, "Edit1")->text(),
                 date.toString(QStringLiteral("d/M/yyyy")));
    }

    void daysBetweenDates_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a year") << QDate(2008, 1, 1) << QDate(2008, 12, 31) << "Αριθμός ημερών=365";
        QTest::newRow("next day") << QDate(2024, 5, 5) << QDate(2024, 5, 6) << "Αριθμός ημερών=1";
        QTest::newRow("same day") << QDate(2024, 5, 5) << QDate(2024, 5, 5) << "";
        QTest::newRow("reversed") << QDate(2024, 5, 6) << QDate(2024, 5, 5) << "";
        QTest::newRow("over a leap day")
            << QDate(2024, 2, 28) << QDate(2024, 3, 1) << "Αριθμός ημερών=2";
        QTest::newRow("no leap day")
            << QDate(2023, 2, 28) << QDate(2023, 3, 1) << "Αριθμός ημερών=1";
        QTest::newRow("the whole range, and beyond")
            << QDate(1900, 1, 1) << QDate(2100, 1, 1) << "Αριθμός ημερών=40178";
    }
    void daysBetweenDates() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, shown);
        Screen8 s;
        s.to->setDate(to);
        s.from->setDate(from);
        QCOMPARE(s.days->text(), shown);
        QCOMPARE(child<QLineEdit>(s.form, "Edit1")->text(),
                 std::max(from, QDate(1940, 1, 1)).toString(QStringLiteral("d/M/yyyy")));
        QCOMPARE(child<QLineEdit>(s.form, "Edit2")->text(),
                 std::min(to, QDate(2050, 1, 1)).toString(QStringLiteral("d/M/yyyy")));
    }
};

QTEST_MAIN(TestCalendarCalculations)
#include "tst_calendar_calculations.moc"
