// The customer list of 10,000 customers, from the query to the PDF, through the engine; and
// its list table read by the engine's reader against Qt's own HTML reader.
#include "BenchCustomers.h"
#include "BenchSupport.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "report/ReportHtml.h"
#include "report/ReportTemplate.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCustomers = 10000;

QTemporaryDir* work = nullptr;
QTemporaryDir* out = nullptr;
QString listHtml; // the list of every customer, filled in

void makeData() {
    work = new QTemporaryDir;
    out = new QTemporaryDir;
    const QString path = makeCustomerFile(*work, kCustomers);
    QFile::copy(QStringLiteral(MARIVELLE_SOURCE_DIR "/resources/reports/LIST.RAV"),
                work->filePath(QStringLiteral("LIST.RAV")));
    Global::AppDirectory = work->path();
    Global::ConnectionString = QStringLiteral("Data Source=") + path;
    qputenv("MARIVELLE_REPORT_PDF_DIR", out->path().toUtf8());
}

// The customer list's query, opened on the screen's connection.
Query* openList(QObject& screen, Connection& connection) {
    connection.setUp(Global::ConnectionString);
    auto* query = new Query(&screen);
    query->setConnection(&connection);
    query->addSql(kCustomerListSql);
    query->open();
    return query;
}

// The printout as the customer printouts screen runs it: open the connection, open the
// query, run the project, close everything. Returns milliseconds.
double printList() {
    QElapsedTimer timer;
    timer.start();
    QObject screen;
    Connection connection;
    Query* query = openList(screen, connection);
    new RvDataSetConnection(QStringLiteral("RvDataSetConnection7"), query, &screen);
    RvProject project(QStringLiteral("RvProject9"), &screen);
    project.setProjectFile(Global::AppDirectory + QStringLiteral("/LIST.RAV"));
    project.execute();
    query->close();
    connection.close();
    return timer.nsecsElapsed() / 1e6;
}

void clearOutput() {
    QDir dir(out->path());
    for (const QString& f : dir.entryList(QDir::Files))
        dir.remove(f);
}

void BM_CustomerListPdf(benchmark::State& state) {
    for (auto _ : state) {
        clearOutput();
        state.SetIterationTime(printList() / 1e3);
    }
}
BENCHMARK(BM_CustomerListPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void fillListHtml() {
    QObject screen;
    Connection connection;
    Query* query = openList(screen, connection);
    const RvDataSetConnection data(QStringLiteral("RvDataSetConnection7"), query, &screen);
    listHtml = ReportTemplate::load(Global::AppDirectory + QStringLiteral("/LIST.RAV"))
                   .render({data.read()}, QDate(2024, 5, 17));
    query->close();
    connection.close();
}

// The rows of the list table as the engine reads them.
size_t scannedRows() {
    size_t rows = 0;
    for (const ReportHtml::Part& p : ReportHtml::parts(listHtml))
        rows += p.list.header.size() + p.list.rows.size();
    return rows;
}

// The same rows through Qt's reader: the document read, then the table's cells walked.
size_t qtReaderRows() {
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    doc.setHtml(listHtml);
    size_t rows = 0;
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        for (int r = 0; r < table->rows(); ++r) {
            std::vector<ReportLayout::ListCell> row;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor text = cell.firstCursorPosition();
                text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                ReportLayout::ListCell out;
                out.text = text.selectedText();
                out.bold = text.charFormat().fontWeight() >= QFont::Bold;
                out.align = text.blockFormat().alignment();
                row.push_back(std::move(out));
            }
            ++rows;
        }
    }
    return rows;
}

void BM_ListTableScanned(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scannedRows());
}
BENCHMARK(BM_ListTableScanned)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListTableQtReader(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(qtReaderRows());
}
BENCHMARK(BM_ListTableQtReader)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    offscreenUnlessSet();
    QApplication app(argc, argv);
    makeData();
    fillListHtml();
    if (scannedRows() != qtReaderRows())
        std::printf("the two readers find different rows\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    const double ms = medianOf(3, [] {
        clearOutput();
        return printList();
    });
    const int pages = pdfPages(QDir(out->path()).filePath(QStringLiteral("LIST.pdf")));
    std::printf("\ncustomer list of %d customers to PDF: %.0f ms, %d pages (target < 3000 ms): "
                "%s\n",
                kCustomers, ms, pages, ms < 3000 ? "met" : "NOT met");
    benchmark::Shutdown();
    delete work;
    delete out;
    return 0;
}
