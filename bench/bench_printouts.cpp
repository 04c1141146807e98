// The customer printouts screen, from the click to the finished PDF: the list of 10,000
// customers, and the cards (and the cards with their histories) of 1,000 customers with a
// history of 2,000 characters each.
#include "BenchCustomers.h"
#include "BenchSupport.h"
#include "customers/Unit17.h"
#include "customers/Unit22.h"
#include "data/Global.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kListCustomers = 10000;
constexpr int kCardCustomers = 1000;
constexpr int kHistoryLength = 2000;

struct Folder {
    QTemporaryDir work;
    QString connectionString;
};
Folder* listFolder = nullptr;
Folder* cardFolder = nullptr;
QTemporaryDir* out = nullptr;
TForm22* printouts = nullptr;

Folder* makeFolder(int customers, bool histories) {
    auto* f = new Folder;
    const QString path = makeCustomerFile(f->work, customers);
    for (const char* name : {"LIST.RAV", "STOIXEIA.RAV", "ISTORIKO.RAV"})
        QFile::copy(QStringLiteral(MARIVELLE_SOURCE_DIR "/resources/reports/") +
                        QLatin1StringView(name),
                    f->work.filePath(QLatin1StringView(name)));
    if (histories) {
        // Visits of a few lines each, as a salon writes them.
        QString history;
        for (int visit = 1; history.size() < kHistoryLength; ++visit)
            history += QStringLiteral("%1/3/2024: καθαρισμός προσώπου, μάσκα υδάτωσης, "
                                      "peeling με \"AHA\" 10%\n")
                           .arg(visit);
        history.truncate(kHistoryLength);
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        SQLite::Statement set(db, "UPDATE STOIXEIA_PELATH SET ISTORIKO=?");
        set.bind(1, history.toStdString());
        set.exec();
    }
    f->connectionString = QStringLiteral("Data Source=") + path;
    return f;
}

void clearOutput() {
    QDir dir(out->path());
    for (const QString& f : dir.entryList(QDir::Files))
        dir.remove(f);
}

// One press of a print button of the screen, after "Όλοι οι πελάτες"; milliseconds.
double press(const Folder& folder, const char* button) {
    clearOutput();
    Global::AppDirectory = folder.work.path();
    Global::ConnectionString = folder.connectionString;
    printouts->CatalogueFilter.clear();
    printouts->CatalogueSql = TForm17::columnList() + QStringLiteral(" ORDER BY EPWNYMO ASC");
    printouts->CustomerId = QStringLiteral("1");
    auto* b = printouts->findChild<QPushButton*>(QLatin1StringView(button));
    QElapsedTimer timer;
    timer.start();
    b->click();
    return timer.nsecsElapsed() / 1e6;
}

void BM_List10000(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(press(*listFolder, "Button10") / 1e3);
}
BENCHMARK(BM_List10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Cards1000(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(press(*cardFolder, "Button1") / 1e3);
}
BENCHMARK(BM_Cards1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CardsWithHistory1000(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(press(*cardFolder, "Button8") / 1e3);
}
BENCHMARK(BM_CardsWithHistory1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void report(const char* what, const Folder& folder, const char* button, const char* pdf,
            double target) {
    const double ms = medianOf(3, [&] { return press(folder, button); });
    std::printf("%s: %.0f ms, %d pages (target < %.0f ms): %s\n", what, ms,
                pdfPages(QDir(out->path()).filePath(QLatin1StringView(pdf))), target,
                ms < target ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv) {
    offscreenUnlessSet();
    QApplication app(argc, argv);
    out = new QTemporaryDir;
    qputenv("MARIVELLE_REPORT_PDF_DIR", out->path().toUtf8());
    listFolder = makeFolder(kListCustomers, false);
    cardFolder = makeFolder(kCardCustomers, true);
    printouts = new TForm22;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n");
    report("list of 10,000 customers", *listFolder, "Button10", "LIST.pdf", 2000);
    report("cards of 1,000 customers", *cardFolder, "Button1", "STOIXEIA.pdf", 3000);
    report("cards with a 2,000-character history, 1,000 customers", *cardFolder, "Button8",
           "ISTORIKO.pdf", 3000);
    benchmark::Shutdown();
    delete printouts;
    delete listFolder;
    delete cardFolder;
    delete out;
    return 0;
}
