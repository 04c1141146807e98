// The front desk's lookups over a large salon: the birthday list of a month and of the days
// around the new year over 100,000 customers, and a surname searched in every half-hour slot
// of twenty years of fully booked days.
#include "BenchCustomers.h"
#include "BenchSupport.h"
#include "appointments/Unit24.h"
#include "appointments/Unit2a.h"
#include "customers/Unit23.h"
#include "data/Global.h"
#include "ui/DatePicker.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kCustomers = 100000;
constexpr double kTargetMs = 300;
const QDate kFirstDay(2015, 1, 1);
const QDate kLastDay(2034, 12, 31);

QTemporaryDir* work = nullptr;
TForm23* birthdays = nullptr;
TForm24* search = nullptr;

// Every slot of every day booked: one surname in ten is the one searched for.
void fillBook(const QString& path) {
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    QStringList columns{QStringLiteral("HMEROMHNIA")};
    QStringList marks{QStringLiteral("?")};
    for (int k = 1; k <= TForm2a::kSlots; ++k) {
        columns << u'[' + TForm2a::slotColumn(k) + u']';
        marks << QStringLiteral("?");
    }
    const char* surnames[] = {"Ιωάννου",   "Γεωργίου", "Οικονόμου",  "Δημητρίου", "Βασιλείου",
                              "Αθανασίου", "Ζαχαρίου", "Καραγιάννη", "Νικολάου",  "Μαυρίδου"};
    SQLite::Transaction transaction(db);
    SQLite::Statement insert(db, QStringLiteral("INSERT INTO RANTEBOU(%1) VALUES(%2)")
                                     .arg(columns.join(u','), marks.join(u','))
                                     .toStdString());
    int n = 0;
    for (QDate d = kFirstDay; d <= kLastDay; d = d.addDays(1)) {
        insert.bind(1, d.toString(Qt::ISODate).toStdString());
        for (int k = 1; k <= TForm2a::kSlots; ++k, ++n)
            insert.bind(k + 1, QStringLiteral("Μαρία %1 69%2 βαφή")
                                   .arg(QString::fromUtf8(surnames[n % 10]))
                                   .arg(n % 100000000, 8, 10, QLatin1Char('0'))
                                   .toStdString());
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

double timed(QPushButton* button) {
    QElapsedTimer timer;
    timer.start();
    button->click();
    QApplication::processEvents(); // the grid paints its first rows
    return timer.nsecsElapsed() / 1e6;
}

double birthdaysOfTheMonth() {
    birthdays->findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->setChecked(true);
    return timed(birthdays->findChild<QPushButton*>(QStringLiteral("Button1")));
}

double birthdaysAroundTheNewYear() {
    birthdays->findChild<QRadioButton*>(QStringLiteral("RadioButton4"))->setChecked(true);
    birthdays->findChild<DatePicker*>(QStringLiteral("DateTimePicker1"))->setDate({2026, 12, 20});
    birthdays->findChild<DatePicker*>(QStringLiteral("DateTimePicker2"))->setDate({2027, 1, 10});
    return timed(birthdays->findChild<QPushButton*>(QStringLiteral("Button1")));
}

double searchSurname() {
    return timed(search->findChild<QPushButton*>(QStringLiteral("Button1")));
}

void BM_BirthdaysOfTheMonth(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(birthdaysOfTheMonth() / 1e3);
}
BENCHMARK(BM_BirthdaysOfTheMonth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BirthdaysAroundTheNewYear(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(birthdaysAroundTheNewYear() / 1e3);
}
BENCHMARK(BM_BirthdaysAroundTheNewYear)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_AppointmentSearch(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(searchSurname() / 1e3);
}
BENCHMARK(BM_AppointmentSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int report(const char* what, double ms, const QString& count, const QString& expected) {
    if (count != expected) {
        std::printf("%s: the screen reads \"%s\", not \"%s\"\n", what, qPrintable(count),
                    qPrintable(expected));
        return 1;
    }
    std::printf("%s: %.1f ms, %s (target < %.0f ms): %s\n", what, ms, qPrintable(count), kTargetMs,
                ms < kTargetMs ? "met" : "NOT met");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    offscreenUnlessSet();
    QApplication app(argc, argv);
    work = new QTemporaryDir;
    const QString path = makeCustomerFile(*work, kCustomers);
    fillBook(path);
    Global::AppDirectory = work->path();
    Global::ConnectionString = QStringLiteral("Data Source=") + path;
    Messages::setTestMode(true); // a refusal would say so in the figures, not in a box
    Clock::setFixedForTesting(QDate(2026, 3, 15));
    birthdays = new TForm23;
    birthdays->show();
    search = new TForm24;
    search->show();
    search->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("νικολαου"));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    // What each figure stands for, counted straight from the file.
    const auto count = [&](const QString& sql) {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        return QString::number(db.execAndGet(sql.toStdString()).getInt());
    };
    const auto shown = [](QWidget* screen, const char* label) {
        return screen->findChild<QLabel*>(QString::fromLatin1(label))->text();
    };
    int failed = 0;
    std::printf("\n");
    double ms = medianOf(7, birthdaysOfTheMonth);
    failed += report("birthdays of March over 100,000 customers", ms, shown(birthdays, "Label3"),
                     TForm23::countText(count("SELECT count(*) FROM STOIXEIA_PELATH WHERE "
                                              "substr(HMEROMHNIA_GENNHSEWS,6,2)='03'")
                                            .toInt()));
    ms = medianOf(7, birthdaysAroundTheNewYear);
    failed += report("birthdays of 20/12/2026-10/1/2027 over 100,000 customers", ms,
                     shown(birthdays, "Label3"),
                     TForm23::countText(count("SELECT count(*) FROM STOIXEIA_PELATH WHERE "
                                              "substr(HMEROMHNIA_GENNHSEWS,6,5)>='12-20' OR "
                                              "substr(HMEROMHNIA_GENNHSEWS,6,5)<='01-10'")
                                            .toInt()));
    ms = medianOf(7, searchSurname);
    const int booked = int(kFirstDay.daysTo(kLastDay) + 1) * TForm2a::kSlots;
    failed += report(qPrintable(QStringLiteral("a surname in %1 slots of 20 years").arg(booked)),
                     ms, shown(search, "Label2"), TForm24::countText(booked / 10));
    benchmark::Shutdown();
    delete search;
    delete birthdays;
    delete work;
    return failed;
}
