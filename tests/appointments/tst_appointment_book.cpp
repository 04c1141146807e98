#include "../ui/UiFixture.h"

#include "appointments/Unit1a.h"
#include "appointments/Unit2a.h"
#include "data/Global.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include <functional>

namespace {

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

const QColor kGreen(0, 128, 0);
const QColor kGray(128, 128, 128);
const QColor kBlack(0, 0, 0);

// The calendar over a fresh data file, made with the clock at `today`. The day windows it
// opens are handed to `onDay`, which works them as a person would; closing is left to it.
struct Book : ScreenFixture {
    std::unique_ptr<TForm1a> calendar;
    std::function<void(TForm2a&)> onDay;
    int daysOpened = 0;

    explicit Book(QDate today = QDate(2026, 3, 15)) {
        Clock::setFixedForTesting(today);
        Modal::setTestHook([this](QDialog& d) {
            auto* day = qobject_cast<TForm2a*>(&d);
            if (!day)
                qFatal("unexpected window %s", d.metaObject()->className());
            ++daysOpened;
            if (onDay)
                onDay(*day);
            return 0;
        });
        calendar = std::make_unique<TForm1a>();
    }
    ~Book() { calendar.reset(); }

    QLabel* dayLabel(int k) const {
        return child<QLabel>(*calendar, QStringLiteral("LabelD%1").arg(k));
    }
    QLabel* countLabel(int k) const {
        return child<QLabel>(*calendar, QStringLiteral("LabelR%1").arg(k));
    }
    QComboBox* years() const { return child<QComboBox>(*calendar, QStringLiteral("ComboBox2")); }
    QComboBox* months() const { return child<QComboBox>(*calendar, QStringLiteral("ComboBox1")); }

    // Picks a month as a person does; picking the month already shown rebuilds it too.
    void show(int year, int month) {
        years()->setCurrentIndex(year - TForm1a::kFirstYear);
        if (months()->currentIndex() == month - 1)
            months()->setCurrentIndex(month == 1 ? 1 : 0);
        months()->setCurrentIndex(month - 1);
    }

    int cellOf(int day) const {
        for (int k = 1; k <= TForm1a::kCells; ++k)
            if (dayLabel(k)->text() == QString::number(day))
                return k;
        return 0;
    }
    QString countOf(int day) const { return countLabel(cellOf(day))->text(); }

    // Clicks a day number with the mouse.
    void click(int day) const {
        QLabel* label = dayLabel(cellOf(day));
        QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, label->rect().center());
    }

    // The grid as "first cell-last cell", or what is wrong with it: the days must run 1, 2, …
    // from one cell on, every other cell hidden and empty, and a count shown under a day only.
    QString layout() const {
        int first = 0;
        int last = 0;
        for (int k = 1; k <= TForm1a::kCells; ++k) {
            const QLabel* d = dayLabel(k);
            const QLabel* r = countLabel(k);
            if (d->isHidden() != r->isHidden())
                return QStringLiteral("count of cell %1 shown apart from its day").arg(k);
            if (d->isHidden()) {
                if (!d->text().isEmpty())
                    return QStringLiteral("hidden cell %1 reads %2").arg(k).arg(d->text());
                continue;
            }
            if (!first)
                first = k;
            else if (last != k - 1)
                return QStringLiteral("gap before cell %1").arg(k);
            last = k;
            if (d->text() != QString::number(k - first + 1))
                return QStringLiteral("cell %1 reads %2").arg(k).arg(d->text());
        }
        return QStringLiteral("%1-%2").arg(first).arg(last);
    }

    QString greenCells() const {
        QStringList cells;
        for (int k = 1; k <= TForm1a::kCells; ++k)
            if (textColour(dayLabel(k)) == kGreen)
                cells << QString::number(k);
        return cells.join(u',');
    }

    int rowsOf(const QString& isoDate) const {
        return db
            .scalar(
                QStringLiteral("SELECT count(*) FROM RANTEBOU WHERE HMEROMHNIA='%1'").arg(isoDate))
            .toInt();
    }
};

DBEdit* slotEdit(const TForm2a& day, int k) {
    return child<DBEdit>(day, QStringLiteral("DBEdit%1").arg(k));
}

void post(TForm2a& day) {
    child<DBNavigator>(day, QStringLiteral("DBNavigator1"))->button(DBNavigator::Post)->click();
}

QString slotsOf(const TForm2a& day) {
    QStringList texts;
    for (int k = 1; k <= TForm2a::kSlots; ++k)
        texts << slotEdit(day, k)->text();
    return texts.join(u'|');
}

} // namespace

// The appointment book: the month calendar and the page of one day.
class TestAppointmentBook : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ScreenFixture::end(); }

    void listsAndHeader() {
        Book book;
        QCOMPARE(book.months()->count(), 12);
        QStringList months;
        for (int i = 0; i < 12; ++i)
            months << book.months()->itemText(i);
        QCOMPARE(months, (QStringList{"Ιανουάριος", "Φεβρουάριος", "Μάρτιος", "Απρίλιος", "Μάιος",
                                      "Ιούνιος", "Ιούλιος", "Αύγουστος", "Σεπτέμβριος", "Οκτώβριος",
                                      "Νοέμβριος", "Δεκέμβριος"}));
        QCOMPARE(book.years()->count(), 28);
        for (int i = 0; i < 28; ++i)
            QCOMPARE(book.years()->itemText(i), QString::number(2008 + i));
        // The drop-downs show 12 months and 15 years at once, also where the style would
        // drop the whole list.
        QVERIFY(showActive(*book.calendar));
        for (const auto& [list, rows] :
             {std::pair{book.months(), 12}, std::pair{book.years(), 15}}) {
            list->showPopup();
            const QAbstractItemView* view = list->view();
            const int rowHeight = view->sizeHintForRow(0);
            QVERIFY(view->isVisible());
            QVERIFY2(view->viewport()->height() >= rows * rowHeight &&
                         view->viewport()->height() < (rows + 1) * rowHeight,
                     qPrintable(QStringLiteral("%1 rows of %2 px in %3 px")
                                    .arg(rows)
                                    .arg(rowHeight)
                                    .arg(view->viewport()->height())));
            list->hidePopup();
        }
        for (const QComboBox* list : {book.months(), book.years()}) {
            QVERIFY(!list->isEditable());
            QVERIFY(!(list->focusPolicy() & Qt::TabFocus));
            QCOMPARE(list->palette().color(QPalette::Text), QColor(Qt::blue));
        }
        for (int i = 2; i <= 8; ++i) {
            const auto* header = child<QLabel>(*book.calendar, QStringLiteral("Label%1").arg(i));
            QVERIFY(header->font().bold());
            QCOMPARE(textColour(header), i <= 6 ? kGreen : QColor(0, 255, 0));
        }
        QVERIFY(child<QLabel>(*book.calendar, QStringLiteral("LabelD1"))->cursor().shape() ==
                Qt::PointingHandCursor);
        QCOMPARE(textColour(book.countLabel(1)), QColor(Qt::red));
        QVERIFY(book.countLabel(1)->font().bold());
        QVERIFY(book.countLabel(1)->fontInfo().pixelSize() >= 24);
    }

    // Every month of the list laid out on the grid, against Qt's own calendar.
    void everyListedMonthStartsOnItsWeekday() {
        Book book;
        for (int year = TForm1a::kFirstYear; year <= TForm1a::kLastYear; ++year) {
            for (int month = 1; month <= 12; ++month) {
                book.show(year, month);
                const QDate first(year, month, 1);
                const int firstCell = first.dayOfWeek();
                const QString expected =
                    QStringLiteral("%1-%2").arg(firstCell).arg(firstCell + first.daysInMonth() - 1);
                if (book.layout() != expected)
                    QFAIL(qPrintable(QStringLiteral("%1/%2: %3, expected %4")
                                         .arg(month)
                                         .arg(year)
                                         .arg(book.layout(), expected)));
                QCOMPARE(Global::CalendarYear, year);
                QCOMPARE(Global::CalendarMonth, month);
            }
        }
    }

    void placementExamples_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("cells");
        QTest::newRow("March 2008 starts on a Saturday") << 2008 << 3 << "6-36";
        QTest::newRow("March 2009 fills the last cell") << 2009 << 3 << "7-37";
        QTest::newRow("February 2010 fills four rows") << 2010 << 2 << "1-28";
        QTest::newRow("February 2008 has 29 days") << 2008 << 2 << "5-33";
        QTest::newRow("February 2035 has 28 days") << 2035 << 2 << "4-31";
        QTest::newRow("January 2009 counts as month 13 of 2008") << 2009 << 1 << "4-34";
    }
    void placementExamples() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QString, cells);
        Book book;
        book.show(year, month);
        QCOMPARE(book.layout(), cells);
    }

    void februaryHas29DaysInLeapYearsOnly() {
        Book book;
        const QList<int> leap = {2008, 2012, 2016, 2020, 2024, 2028, 2032};
        for (int year = TForm1a::kFirstYear; year <= TForm1a::kLastYear; ++year) {
            book.show(year, 2);
            const int last = book.cellOf(29) ? 29 : 28;
            QVERIFY2(last == (leap.contains(year) ? 29 : 28), qPrintable(QString::number(year)));
            QCOMPARE(book.cellOf(30), 0);
        }
    }

    void colours_data() {
        QTest::addColumn<QDate>("today");
        QTest::addRow("a Wednesday") << QDate(2026, 12, 9);
        QTest::addRow("a Saturday") << QDate(2026, 3, 14);
        QTest::addRow("a Sunday") << QDate(2026, 3, 15);
        QTest::addRow("the 31st in the sixth row") << QDate(2008, 3, 31);
        QTest::addRow("the 1st") << QDate(2035, 12, 1);
    }
    void colours() {
        QFETCH(QDate, today);
        Book book(today);
        QCOMPARE(book.months()->currentIndex(), today.month() - 1);
        QCOMPARE(book.years()->currentText(), QString::number(today.year()));
        const int todayCell = book.cellOf(today.day());
        QCOMPARE(book.greenCells(), QString::number(todayCell));

        const auto checkWeekColours = [&](int green) {
            for (int k = 1; k <= TForm1a::kCells; ++k) {
                const int column = (k - 1) % 7 + 1;
                const QColor expected =
                    k == green ? kGreen : (column >= 6 && k <= 35 ? kGray : kBlack);
                QVERIFY2(textColour(book.dayLabel(k)) == expected, qPrintable(QString::number(k)));
            }
        };
        checkWeekColours(todayCell);

        // Another month, and the same month of another year, show no green day.
        book.show(today.year(), today.month() % 12 + 1);
        QCOMPARE(book.greenCells(), QString());
        checkWeekColours(0);
        book.show(today.year() == 2035 ? 2034 : today.year() + 1, today.month());
        QCOMPARE(book.greenCells(), QString());

        child<QPushButton>(*book.calendar, QStringLiteral("Button2"))->click();
        QCOMPARE(book.months()->currentIndex(), today.month() - 1);
        QCOMPARE(book.years()->currentText(), QString::number(today.year()));
        QCOMPARE(book.greenCells(), QString::number(todayCell));
    }

    // The calendar's today is read when it is made: a later clock changes nothing in it.
    void todayIsReadOnce() {
        Book book(QDate(2026, 3, 15));
        Clock::setFixedForTesting(QDate(2026, 4, 2));
        book.show(2027, 1);
        child<QPushButton>(*book.calendar, QStringLiteral("Button2"))->click();
        QCOMPARE(book.months()->currentIndex(), 2);
        QCOMPARE(book.greenCells(), QString::number(book.cellOf(15)));
    }

    void clockOutsideTheListedYears_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("year");
        QTest::addRow("before") << QDate(2005, 1, 10) << "2008";
        QTest::addRow("after") << QDate(2040, 6, 15) << "2035";
    }
    void clockOutsideTheListedYears() {
        QFETCH(QDate, today);
        QFETCH(QString, year);
        Book book(today);
        QCOMPARE(book.years()->currentText(), year);
        QCOMPARE(book.months()->currentIndex(), today.month() - 1);
        const QDate shown(year.toInt(), today.month(), 1);
        QCOMPARE(book.layout(), QStringLiteral("%1-%2")
                                    .arg(shown.dayOfWeek())
                                    .arg(shown.dayOfWeek() + shown.daysInMonth() - 1));
        QCOMPARE(book.greenCells(), QString());
        QVERIFY(Messages::shown().isEmpty());

        // Still a working book: a day opens and is counted.
        book.onDay = [](TForm2a& day) {
            typeText(slotEdit(day, 1), QStringLiteral("Άννα"));
            post(day);
            day.close();
        };
        book.click(3);
        QCOMPARE(book.daysOpened, 1);
        QCOMPARE(book.countOf(3), QStringLiteral("1"));
    }

    void counts_data() {
        QTest::addColumn<QString>("filled"); // values of the first slots, "|" between them
        QTest::addColumn<QString>("count");
        QTest::addRow("no slots filled") << ""
                                         << "";
        QTest::addRow("three booked") << "Μαρία|Ελένη||Γιώργος"
                                      << "3";
        QTest::addRow("blanks are free") << "   |Άννα|  "
                                         << "1";
        QTest::addRow("control characters are free") << "\t\r\n|\x01|x"
                                                     << "1";
        QTest::addRow("blanks around a name") << "  Κική  "
                                              << "1";
        QTest::addRow("empty texts") << "||"
                                     << "";
        QTest::addRow("every slot") << "a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q|r|s|t|u|v|w|x|y|z|1|2"
                                    << "28";
    }
    void counts() {
        QFETCH(QString, filled);
        QFETCH(QString, count);
        Book book;
        const QStringList values = filled.isEmpty() ? QStringList() : filled.split(u'|');
        QStringList columns{QStringLiteral("HMEROMHNIA")};
        QStringList literals{QStringLiteral("'2026-03-10'")};
        for (int k = 1; k <= values.size(); ++k) {
            columns << u'[' + TForm2a::slotColumn(k) + u']';
            literals << u'\'' + values[k - 1] + u'\'';
        }
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(%1) VALUES(%2)")
                         .arg(columns.join(u','), literals.join(u',')));
        // Neighbouring days of other months do not leak into this one.
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830]) "
                                    "VALUES('2026-04-10','x'),('2026-02-10','y'),"
                                    "('2025-03-10','z')"));
        book.show(2026, 3);
        QCOMPARE(book.countOf(10), count);
        for (int day = 1; day <= 31; ++day)
            if (day != 10)
                QCOMPARE(book.countOf(day), QString());
    }

    void openingADay_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("literal");
        QTest::addRow("5 March") << QDate(2024, 3, 5) << "5/3/2024"
                                 << "#3/5/2024#";
        QTest::addRow("new year's day") << QDate(2024, 1, 1) << "1/1/2024"
                                        << "#1/1/2024#";
        QTest::addRow("last listed day") << QDate(2035, 12, 31) << "31/12/2035"
                                         << "#12/31/2035#";
        QTest::addRow("leap day") << QDate(2008, 2, 29) << "29/2/2008"
                                  << "#2/29/2008#";
    }
    void openingADay() {
        QFETCH(QDate, date);
        QFETCH(QString, label);
        QFETCH(QString, literal);
        Book book;
        book.show(date.year(), date.month());
        QStringList seen;
        book.onDay = [&](TForm2a& day) {
            QVERIFY(day.isVisible());
            seen << day.Label83->text() << slotsOf(day);
            QCOMPARE(day.ADOQuery1->recordCount(), 1);
        };
        const QString iso = date.toString(Qt::ISODate);
        book.click(date.day());
        book.click(date.day());
        const QString empty = QString(TForm2a::kSlots - 1, u'|');
        QCOMPARE(seen, (QStringList{label, empty, label, empty}));
        QCOMPARE(Global::CalendarDay, date.day());
        QCOMPARE(Global::OpenDayLiteral, literal);
        QCOMPARE(book.rowsOf(iso), 1);
        QCOMPARE(book.db.scalar(QStringLiteral("SELECT count(*) FROM RANTEBOU")),
                 QStringLiteral("1"));
        QStringList slotTests;
        for (int k = 1; k <= TForm2a::kSlots; ++k)
            slotTests << QStringLiteral("[%1] IS NULL").arg(TForm2a::slotColumn(k));
        QCOMPARE(book.db.scalar(QStringLiteral("SELECT count(*) FROM RANTEBOU WHERE %1")
                                    .arg(slotTests.join(QStringLiteral(" AND ")))),
                 QStringLiteral("1"));
        QCOMPARE(book.countOf(date.day()), QString());
    }

    void postedTextStaysAndIsCounted() {
        Book book;
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA,[1000-1030]) "
                                    "VALUES('2026-03-20','Ρένα')"));
        book.show(2026, 3);
        QCOMPARE(book.countOf(20), QStringLiteral("1"));

        QString countWhileOpen;
        book.onDay = [&](TForm2a& day) {
            QVERIFY(showActive(day));
            QCOMPARE(slotEdit(day, 5)->text(), QStringLiteral("Ρένα"));
            slotEdit(day, 3)->setFocus();
            typeText(slotEdit(day, 3), QStringLiteral("Μαρία, βαφή"));
            typeText(slotEdit(day, 28), QStringLiteral("τελευταία"));
            QCOMPARE(day.ADOQuery1->state(), DataSet::State::Edit);
            post(day);
            QCOMPARE(day.ADOQuery1->state(), DataSet::State::Browse);
            countWhileOpen = book.countOf(20);
            child<QPushButton>(day, QStringLiteral("Button29"))->click();
        };
        book.click(20);
        QCOMPARE(countWhileOpen, QStringLiteral("1"));
        QCOMPARE(book.countOf(20), QStringLiteral("3"));
        QCOMPARE(book.db.scalar(
                     QStringLiteral("SELECT [0900-0930] || '/' || [2130-2200] FROM RANTEBOU")),
                 QStringLiteral("Μαρία, βαφή/τελευταία"));

        QString reopened;
        book.onDay = [&](TForm2a& day) { reopened = slotsOf(day); };
        book.click(20);
        QCOMPARE(reopened.section(u'|', 2, 2), QStringLiteral("Μαρία, βαφή"));
        QCOMPARE(reopened.section(u'|', 4, 4), QStringLiteral("Ρένα"));
        QCOMPARE(reopened.section(u'|', 27, 27), QStringLiteral("τελευταία"));
        QCOMPARE(book.rowsOf(QStringLiteral("2026-03-20")), 1);
    }

    void emptyingASlotLowersTheCount() {
        Book book;
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830],[0830-0900]) "
                                    "VALUES('2026-03-02','α','β')"));
        book.show(2026, 3);
        QCOMPARE(book.countOf(2), QStringLiteral("2"));
        book.onDay = [&](TForm2a& day) {
            QVERIFY(showActive(day));
            slotEdit(day, 2)->setFocus();
            slotEdit(day, 2)->selectAll();
            QTest::keyClick(slotEdit(day, 2), Qt::Key_Delete);
            typeText(slotEdit(day, 2), QStringLiteral("   "));
            post(day);
            day.close();
        };
        book.click(2);
        QCOMPARE(book.countOf(2), QStringLiteral("1"));
    }

    void unpostedTextIsLost_data() {
        QTest::addColumn<QString>("how");
        QTest::addRow("exit button") << "button";
        QTest::addRow("Esc") << "esc";
        QTest::addRow("close box") << "close";
    }
    void unpostedTextIsLost() {
        QFETCH(QString, how);
        Book book;
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830]) "
                                    "VALUES('2026-03-11','Ζωή')"));
        book.show(2026, 3);
        bool closed = false;
        book.onDay = [&](TForm2a& day) {
            QVERIFY(showActive(day));
            slotEdit(day, 1)->setFocus();
            typeText(slotEdit(day, 1), QStringLiteral(" και Νίκη"));
            slotEdit(day, 2)->setFocus(); // the typed text goes into the row, unposted
            typeText(slotEdit(day, 2), QStringLiteral("Όλγα"));
            QCOMPARE(day.ADOQuery1->state(), DataSet::State::Edit);
            if (how == u"button")
                child<QPushButton>(day, QStringLiteral("Button29"))->click();
            else if (how == u"esc")
                QTest::keyClick(slotEdit(day, 2), Qt::Key_Escape);
            else
                day.close();
            closed = !day.isVisible();
            QVERIFY(!day.ADOQuery1->isActive());
            QVERIFY(!day.ADOConnection1->isConnected());
            QVERIFY(day.ADOQuery1->sql().isEmpty());
        };
        book.click(11);
        QVERIFY(closed);
        QCOMPARE(book.db.scalar(QStringLiteral(
                     "SELECT [0800-0830] || '/' || ifnull([0830-0900],'-') FROM RANTEBOU")),
                 QStringLiteral("Ζωή/-"));
        QCOMPARE(book.countOf(11), QStringLiteral("1"));
    }

    void escClosesTheCalendar() {
        Book book;
        QVERIFY(showActive(*book.calendar));
        QTest::keyClick(book.calendar.get(), Qt::Key_Escape);
        QVERIFY(!book.calendar->isVisible());
        QVERIFY(
            !child<Connection>(*book.calendar, QStringLiteral("ADOConnection1"))->isConnected());
    }

    void aDayOpensFromTheKeyboard() {
        Book book;
        QVERIFY(showActive(*book.calendar));
        QLabel* label = book.dayLabel(book.cellOf(4));
        label->setFocus();
        QTest::keyClick(label, Qt::Key_Return);
        QCOMPARE(book.daysOpened, 1);
        QTest::keyClick(label, Qt::Key_Space);
        QCOMPARE(book.daysOpened, 2);
        QCOMPARE(book.rowsOf(QStringLiteral("2026-03-04")), 1);
        // Only day numbers open a day; the count under one does not.
        QLabel* count = book.countLabel(book.cellOf(4));
        QTest::mouseClick(count, Qt::LeftButton, Qt::NoModifier, count->rect().center());
        QCOMPARE(book.daysOpened, 2);
    }

    // A day whose row cannot be made is not opened for typing: nothing typed could be kept.
    void aDayThatCannotBeStoredIsNotOpened() {
        Book book;
        book.db.exec(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830]) "
                                    "VALUES('2026-03-06','Σοφία')"));
        book.db.exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON RANTEBOU "
                                    "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"));
        book.show(2026, 3);

        book.click(7);
        QCOMPARE(book.daysOpened, 0);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Error);
        QVERIFY(Messages::shown().first().text.startsWith(
            QStringLiteral("Η ημέρα 7/3/2026 δεν μπόρεσε να καταχωρηθεί στο αρχείο")));
        QVERIFY(
            Messages::shown().first().text.contains(QStringLiteral("database or disk is full")));
        QCOMPARE(book.rowsOf(QStringLiteral("2026-03-07")), 0);
        QCOMPARE(book.db.scalar(QStringLiteral("SELECT count(*) FROM RANTEBOU")),
                 QStringLiteral("1"));

        // A day that already has its row still opens, as the refusal is then expected.
        Messages::clearShown();
        book.click(6);
        QCOMPARE(book.daysOpened, 1);
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(book.countOf(6), QStringLiteral("1"));
    }

    void dayWindowLayout() {
        TestDatabase db;
        TForm2a day;
        // The 28 slots to the letter: caption and column.
        const QStringList captions = {
            "08:00 - 08:30|0800-0830", "08:30 - 09:00|0830-0900", "09:00 - 09:30|0900-0930",
            "09:30 - 10:00|0930-1000", "10:00 - 10:30|1000-1030", "10:30 - 11:00|1030-1100",
            "11:00 - 11:30|1100-1130", "11:30 - 12:00|1130-1200", "12:00 - 12:30|1200-1230",
            "12:30 - 13:00|1230-1300", "13:00 - 13:30|1300-1330", "13:30 - 14:00|1330-1400",
            "14:00 - 14:30|1400-1430", "14:30 - 15:00|1430-1500", "15:00 - 15:30|1500-1530",
            "15:30 - 16:00|1530-1600", "16:00 - 16:30|1600-1630", "16:30 - 17:00|1630-1700",
            "17:00 - 17:30|1700-1730", "17:30 - 18:00|1730-1800", "18:00 - 18:30|1800-1830",
            "18:30 - 19:00|1830-1900", "19:00 - 19:30|1900-1930", "19:30 - 20:00|1930-2000",
            "20:00 - 20:30|2000-2030", "20:30 - 21:00|2030-2100", "21:00 - 21:30|2100-2130",
            "21:30 - 22:00|2130-2200"};
        QVERIFY(showActive(day));
        for (int k = 1; k <= TForm2a::kSlots; ++k) {
            const auto* panel = child<QLabel>(day, QStringLiteral("Panel%1").arg(k));
            DBEdit* edit = slotEdit(day, k);
            QCOMPARE(panel->text() + u'|' + edit->dataField(), captions[k - 1]);
            QCOMPARE(panel->buddy(), edit);
            QVERIFY(!edit->hasFrame());
            QVERIFY(edit->font().bold());
            QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
            // Slots 1-14 on the left, 15-28 beside them on the right, row for row.
            const QPoint at = edit->mapTo(&day, QPoint(0, 0));
            if (k <= 14) {
                const QPoint right = slotEdit(day, k + 14)->mapTo(&day, QPoint(0, 0));
                QCOMPARE(right.y(), at.y());
                QVERIFY(right.x() > at.x() + edit->width());
            }
            if (k > 1 && k != 15)
                QVERIFY(at.y() > slotEdit(day, k - 1)->mapTo(&day, QPoint(0, 0)).y());
        }
        // Tab runs through the slots in time order.
        slotEdit(day, 1)->setFocus();
        for (int k = 2; k <= TForm2a::kSlots; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), slotEdit(day, k));
        }
        QCOMPARE(child<DBNavigator>(day, QStringLiteral("DBNavigator1"))->visibleButtons(),
                 DBNavigator::Buttons(DBNavigator::Post));
        QCOMPARE(textColour(day.Label83), QColor(Qt::blue));
    }
};

QTEST_MAIN(TestAppointmentBook)
#include "tst_appointment_book.moc"
