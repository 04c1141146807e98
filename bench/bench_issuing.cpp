// Issuing 1,000 receipts in a row through the issuing screen's button: with the printout
// written as PDF files, and without a printout.
#include "BenchSupport.h"
#include "data/Global.h"
#include "receipts/Unit56.h"
#include "receipts/Unit72.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kReceipts = 1000;

QTemporaryDir* work = nullptr;
QTemporaryDir* pdfs = nullptr;
TForm72* printout = nullptr;
int issued = 0;
std::vector<double> withPrintout;
std::vector<double> withoutPrintout;

void makeFile(const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("data.mdb"));
    QFile::copy(QStringLiteral(MARIVELLE_SHIPPED_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    for (const char* report : {"APODEIKSEIS.RAV", "APODEIKSEISVAT.RAV"})
        QFile::copy(QStringLiteral(MARIVELLE_SOURCE_DIR "/resources/reports/") + report,
                    QDir(folder).filePath(QString::fromLatin1(report)));
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("INSERT INTO LAST_APODEIKSH VALUES(1001)");
    db.exec("INSERT INTO SYNTELESTHS_VAT VALUES(24)");
    db.exec("INSERT INTO INFORMATION(TITLE,ADDRESS1) VALUES('Κέντρο Αισθητικής','Ερμού 45')");
    db.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Ελένη','Νικολάου')");
}

// One receipt from a screen opened for it; only the press of the button is timed.
double issueOne() {
    TForm56 form;
    form.CustomerId = QStringLiteral("1");
    form.CustomerName = QStringLiteral("Ελένη");
    form.CustomerSurname = QStringLiteral("Νικολάου");
    form.findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(QStringLiteral("12,5"));
    form.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("Μανικιούρ"));
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    Messages::clearShown();
    QElapsedTimer timer;
    timer.start();
    button->click();
    const double ms = timer.nsecsElapsed() / 1e6;
    ++issued;
    return ms;
}

void BM_IssueWithPrintout(benchmark::State& state) {
    qputenv("MARIVELLE_REPORT_PDF_DIR", pdfs->path().toUtf8());
    LongLived::add(printout);
    for (auto _ : state) {
        withPrintout.push_back(issueOne());
        state.SetIterationTime(withPrintout.back() / 1e3);
    }
    LongLived::clear();
    qunsetenv("MARIVELLE_REPORT_PDF_DIR");
}
BENCHMARK(BM_IssueWithPrintout)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kReceipts);

// No printout host: the receipt is stored and the desk told that it was not printed.
void BM_IssueWithoutPrintout(benchmark::State& state) {
    for (auto _ : state) {
        withoutPrintout.push_back(issueOne());
        state.SetIterationTime(withoutPrintout.back() / 1e3);
    }
}
BENCHMARK(BM_IssueWithoutPrintout)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kReceipts);

} // namespace

int main(int argc, char** argv) {
    offscreenUnlessSet();
    QApplication app(argc, argv);
    Messages::setTestMode(true);
    Modal::setTestHook([](QDialog&) { return 0; });
    work = new QTemporaryDir;
    pdfs = new QTemporaryDir;
    makeFile(work->path());
    Global::AppDirectory = work->path();
    Global::ConnectionString = QStringLiteral("Data Source=") + work->path() + "/data.mdb";
    printout = new TForm72;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    // Every press stored its receipt; only the issues without printout may have said so.
    SQLite::Database db(QDir(work->path()).filePath("data.mdb").toStdString(),
                        SQLite::OPEN_READONLY);
    const int stored = db.execAndGet("SELECT count(*) FROM APODEIKSEIS").getInt();
    const int counter = db.execAndGet("SELECT [LAST] FROM LAST_APODEIKSH").getInt();
    const int printed = int(QDir(pdfs->path()).entryList({"*.pdf"}, QDir::Files).size());
    std::printf("\n%d receipts stored, counter at %d, %d printed as PDF\n", stored, counter,
                printed);
    const bool whole = stored == issued && counter == 1001 + issued;
    if (!withPrintout.empty())
        std::printf("issue with printout: median %.2f ms\n", median(withPrintout));
    if (!withoutPrintout.empty()) {
        const double ms = median(withoutPrintout);
        std::printf("issue without printout: median %.2f ms (target < 20 ms): %s\n", ms,
                    ms < 20 ? "met" : "NOT met");
    }
    benchmark::Shutdown();
    delete printout;
    delete pdfs;
    delete work;
    return whole ? 0 : 1;
}
