// Twenty years of a busy salon: 60,000 receipts of 5,000 customers. The issued receipts
// register opened, one customer's collections with totals, one year's period sums, and a
// cancellation from the register.
#include "BenchSupport.h"
#include "data/ChecksumVfs.h"
#include "data/Connection.h"
#include "data/DataFileCheck.h"
#include "data/Global.h"
#include "data/SqliteStore.h"
#include "receipts/Unit57.h"
#include "receipts/Unit59.h"
#include "receipts/Unit71.h"
#include "ui/DBGrid.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

constexpr int kReceipts = 60000;
constexpr int kCustomers = 5000;
constexpr int kFirstNumber = 1001;

QTemporaryDir* work = nullptr;
std::map<std::string, std::vector<double>> figures;

// Receipts numbered in date order from 2007 to 2026; one in thirty cancelled, without its
// collection.
void makeFile(const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("data.mdb"));
    QFile::copy(QStringLiteral(MARIVELLE_SHIPPED_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    SQLite::Transaction t(db);
    SQLite::Statement customer(db, "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES(?,?)");
    for (int i = 1; i <= kCustomers; ++i) {
        customer.bind(1, "Όνομα" + std::to_string(i));
        customer.bind(2, "Επώνυμο" + std::to_string(i));
        customer.exec();
        customer.reset();
    }
    SQLite::Statement receipt(db, "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,"
                                  "EPWNYMO,PARALHPTHS,POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,"
                                  "SYNOLIKO_POSO,EGKYRH) VALUES(?,?,?,?,?,?,'',?,?,?,?,?)");
    SQLite::Statement collection(db, "INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,PERIGRAFH,"
                                     "TAMEIO,POSO_CY,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
                                     "VALUES(?,?,?,?,'',?,?,?,?)");
    QRandomGenerator random(2026);
    const QDate first(2007, 1, 1);
    const qint64 days = first.daysTo(QDate(2026, 12, 31));
    for (int i = 0; i < kReceipts; ++i) {
        const int number = kFirstNumber + i;
        const std::string date =
            first.addDays(days * i / kReceipts).toString(Qt::ISODate).toStdString();
        const int id = 1 + int(random.bounded(kCustomers));
        const double amount = 5 + random.bounded(20000) / 100.0;
        const double vat = std::round(amount * 24) / 100;
        const bool valid = i % 30 != 7;
        const std::string name = "Όνομα" + std::to_string(id);
        const std::string surname = "Επώνυμο" + std::to_string(id);
        receipt.bind(1, number);
        receipt.bind(2, date);
        receipt.bind(3, name);
        receipt.bind(4, surname);
        receipt.bind(5, name + " " + surname);
        receipt.bind(6, amount);
        receipt.bind(7, amount / 0.585274);
        receipt.bind(8, "Περιποίηση προσώπου");
        receipt.bind(9, vat);
        receipt.bind(10, amount + vat);
        receipt.bind(11, valid ? 1 : 0);
        receipt.exec();
        receipt.reset();
        if (!valid)
            continue;
        collection.bind(1, id);
        collection.bind(2, date);
        collection.bind(3, amount);
        collection.bind(4, "Περιποίηση προσώπου");
        collection.bind(5, amount / 0.585274);
        collection.bind(6, number);
        collection.bind(7, vat);
        collection.bind(8, amount + vat);
        collection.exec();
        collection.reset();
    }
    db.exec("INSERT INTO LAST_APODEIKSH VALUES(" + std::to_string(kFirstNumber + kReceipts) + ")");
    t.commit();
}

template <class T> T* child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

double timed(const std::function<void()>& f) {
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e6;
}

// From the command to the list shown with its count, sorted by date.
void BM_OpenRegister(benchmark::State& state) {
    for (auto _ : state) {
        TForm71 form;
        const double ms = timed([&] {
            form.show();
            QApplication::processEvents();
        });
        if (child<QLabel>(&form, "Label1")->text() !=
            QStringLiteral("Βρέθηκαν %1 αποδείξεις").arg(kReceipts))
            state.SkipWithError("the register did not list every receipt");
        figures["register"].push_back(ms);
        state.SetIterationTime(ms / 1e3);
        form.close();
    }
}
BENCHMARK(BM_OpenRegister)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The customer with the most collections.
void BM_CustomerCollections(benchmark::State& state) {
    SQLite::Database db(QDir(work->path()).filePath("data.mdb").toStdString());
    const std::string id = db.execAndGet("SELECT ID FROM EISPRAKSH_PELATH GROUP BY ID ORDER BY "
                                         "count(*) DESC LIMIT 1")
                               .getString();
    for (auto _ : state) {
        TForm57 form;
        form.CustomerId = QString::fromStdString(id);
        form.CustomerName = QStringLiteral("Όνομα") + form.CustomerId;
        form.CustomerSurname = QStringLiteral("Επώνυμο") + form.CustomerId;
        const double ms = timed([&] {
            form.show();
            QApplication::processEvents();
        });
        figures["customer"].push_back(ms);
        state.SetIterationTime(ms / 1e3);
        form.close();
    }
}
BENCHMARK(BM_CustomerCollections)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_YearSums(benchmark::State& state) {
    TForm59 form;
    form.show();
    child<QLineEdit>(&form, "Edit1")->setText(QStringLiteral("01/01/2016"));
    child<QLineEdit>(&form, "Edit2")->setText(QStringLiteral("31/12/2016"));
    for (auto _ : state) {
        const double ms = timed([&] {
            child<QPushButton>(&form, "Button1")->click();
            QApplication::processEvents();
        });
        if (child<QLabel>(&form, "DBText1")->text().isEmpty())
            state.SkipWithError("no sum for 2016");
        figures["period"].push_back(ms);
        state.SetIterationTime(ms / 1e3);
    }
    form.close();
}
BENCHMARK(BM_YearSums)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Cancels the current valid receipt, answering Yes. The press includes reading the list
// again; the write alone ends where the screen closes its connection to read again.
void BM_Cancel(benchmark::State& state) {
    TForm71 form;
    form.show();
    QApplication::processEvents();
    auto* grid = child<DBGrid>(&form, "DBGrid1");
    auto* cancel = child<QPushButton>(&form, "Button1");
    QElapsedTimer timer;
    double written = -1;
    QObject::connect(child<Connection>(&form, "ADOConnection1"), &Connection::aboutToClose, [&] {
        if (written < 0)
            written = timer.nsecsElapsed() / 1e6;
    });
    int row = 100;
    for (auto _ : state) {
        while (grid->selectRow(row), !cancel->isEnabled())
            ++row;
        Messages::setNextAnswers({true});
        written = -1;
        timer.start();
        cancel->click();
        QApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        figures["cancel"].push_back(ms);
        figures["cancel write"].push_back(written);
        state.SetIterationTime(ms / 1e3);
        ++row;
    }
    form.close();
}
BENCHMARK(BM_Cancel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The start-up check of the whole file: every page read once and its checksum compared.
void BM_WholeFileCheck(benchmark::State& state) {
    for (auto _ : state) {
        Connection c;
        c.setUp(Global::ConnectionString);
        const double ms = timed([&] {
            if (!ChecksumVfs::wholeFileCheck(SqliteStore::of(c).handle()).empty())
                state.SkipWithError("the file read as damaged");
        });
        figures["check"].push_back(ms);
        state.SetIterationTime(ms / 1e3);
    }
}
BENCHMARK(BM_WholeFileCheck)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// All of start-up's checks: the pages, and the receipt record compared with the file (the
// first run writes the record's 60,000 lines; the others only compare).
void BM_StartUpChecks(benchmark::State& state) {
    for (auto _ : state) {
        const double ms = timed([&] {
            if (!DataFileCheck::atStart(Global::ConnectionString).isEmpty())
                state.SkipWithError("start-up had something to tell");
        });
        figures["start"].push_back(ms);
        state.SetIterationTime(ms / 1e3);
    }
}
BENCHMARK(BM_StartUpChecks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void report(const char* name, const char* what, double target) {
    const std::vector<double>& v = figures[name];
    if (v.empty())
        return;
    const double ms = median(v);
    std::printf("%-52s median %8.2f ms (target < %g ms): %s\n", what, ms, target,
                ms < target ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv) {
    offscreenUnlessSet();
    QApplication app(argc, argv);
    Messages::setTestMode(true);
    work = new QTemporaryDir;
    makeFile(work->path());
    Global::AppDirectory = work->path();
    Global::ConnectionString = QStringLiteral("Data Source=") + work->path() + "/data.mdb";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n%d receipts of %d customers, 2007 to 2026\n", kReceipts, kCustomers);
    report("register", "register opened (query, count, date sort)", 500);
    report("customer", "one customer's collections with totals", 20);
    report("period", "sums of one year", 20);
    report("cancel write", "cancellation written (both rows, one transaction)", 20);
    report("cancel", "cancellation with the list read again", 500);
    report("check", "whole-file check at start-up", 1000);
    report("start", "start-up checks with the receipt record", 1000);
    // Every cancellation took the collection with it, and nothing else changed.
    SQLite::Database db(QDir(work->path()).filePath("data.mdb").toStdString(),
                        SQLite::OPEN_READONLY);
    const int valid = db.execAndGet("SELECT count(*) FROM APODEIKSEIS WHERE EGKYRH").getInt();
    const int collections = db.execAndGet("SELECT count(*) FROM EISPRAKSH_PELATH").getInt();
    const int cancelled = int(figures["cancel"].size());
    const int expected = kReceipts - kReceipts / 30 - cancelled;
    std::printf("%d cancelled, %d valid receipts, %d collections\n", cancelled, valid, collections);
    benchmark::Shutdown();
    delete work;
    return valid == expected && collections == expected ? 0 : 1;
}
