#include "ui/ReportPreview.h"

#include "report/ReportLayout.h"
#include "ui/Guard.h"
#include "ui/SaveFile.h"
#include "ui/Seams.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(ReportLayout& layout, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_layout(layout), m_printer(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Προεπισκόπηση εκτύπωσης - %1").arg(layout.title()));
    m_printer.setPageLayout(layout.pageLayout());
    m_printer.setDocName(layout.title());

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_view = new QPrintPreviewWidget(&m_printer, this);
    m_view->setObjectName(QStringLiteral("PreviewWidget"));
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    connectGuarded(m_view, &QPrintPreviewWidget::paintRequested, this,
                   [this](QPrinter* printer) { m_layout.print(printer); });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePageControls);

    auto addAction = [&](const QString& name, const QString& text, const QString& tip,
                         auto handler) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        a->setToolTip(tip);
        connectGuarded(a, &QAction::triggered, this, handler);
        return a;
    };
    addAction(QStringLiteral("FirstPage"), QStringLiteral("|<"), QStringLiteral("Πρώτη σελίδα"),
              [this] { m_view->setCurrentPage(1); });
    addAction(QStringLiteral("PriorPage"), QStringLiteral("<"),
              QStringLiteral("Προηγούμενη σελίδα"),
              [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
    m_page = new QSpinBox(bar);
    m_page->setObjectName(QStringLiteral("PageNumber"));
    m_page->setMinimum(1);
    m_page->setAccessibleName(QStringLiteral("Σελίδα"));
    bar->addWidget(m_page);
    m_pageCount = new QLabel(bar);
    bar->addWidget(m_pageCount);
    connect(m_page, &QSpinBox::valueChanged, m_view, &QPrintPreviewWidget::setCurrentPage);
    addAction(QStringLiteral("NextPage"), QStringLiteral(">"), QStringLiteral("Επόμενη σελίδα"),
              [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
    addAction(QStringLiteral("LastPage"), QStringLiteral(">|"), QStringLiteral("Τελευταία σελίδα"),
              [this] { m_view->setCurrentPage(m_view->pageCount()); });
    bar->addSeparator();
    addAction(QStringLiteral("ZoomOut"), QStringLiteral("−"), QStringLiteral("Σμίκρυνση"),
              [this] { m_view->zoomOut(); });
    addAction(QStringLiteral("ZoomIn"), QStringLiteral("+"), QStringLiteral("Μεγέθυνση"),
              [this] { m_view->zoomIn(); });
    addAction(QStringLiteral("FitWidth"), QStringLiteral("Πλάτος σελίδας"),
              QStringLiteral("Προσαρμογή στο πλάτος της σελίδας"),
              [this] { m_view->fitToWidth(); });
    addAction(QStringLiteral("FitPage"), QStringLiteral("Ολόκληρη σελίδα"),
              QStringLiteral("Ολόκληρη η σελίδα στο παράθυρο"), [this] { m_view->fitInView(); });
    bar->addSeparator();
    addAction(QStringLiteral("Print"), QStringLiteral("&Εκτύπωση..."),
              QStringLiteral("Εκτύπωση σε εκτυπωτή"), [this] { printPages(); });
    addAction(QStringLiteral("SavePdf"), QStringLiteral("&Αποθήκευση PDF..."),
              QStringLiteral("Αποθήκευση ως αρχείο PDF"), [this] { savePdf(); });
    bar->addSeparator();
    QAction* close = addAction(QStringLiteral("Close"), QStringLiteral("Κλεί&σιμο"),
                               QStringLiteral("Κλείσιμο της προεπισκόπησης"), [this] { reject(); });
    close->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(bar);
    box->addWidget(m_view, 1);

    QSize size(900, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    m_view->fitToWidth();
    m_view->updatePreview();
    updatePageControls();
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const {
    return m_view->pageCount();
}

void ReportPreview::updatePageControls() {
    const QSignalBlocker block(m_page);
    m_page->setMaximum(std::max(1, m_view->pageCount()));
    m_page->setValue(std::max(1, m_view->currentPage()));
    m_pageCount->setText(QStringLiteral(" από %1 ").arg(m_view->pageCount()));
}

void ReportPreview::printPages() {
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Εκτύπωση"));
    if (Modal::exec(dialog) != QDialog::Accepted)
        return;
    m_layout.print(&m_printer);
    m_printer.setPageLayout(m_layout.pageLayout());
}

namespace {
// The folder a PDF was last saved to in this run; the data folder until then.
QString& lastPdfFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString ReportPreview::pdfFolder() {
    const QString& last = lastPdfFolder();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : SaveFile::dataFolder();
}

QString ReportPreview::proposedPdfName() const {
    return SaveFile::nameFrom(m_layout.title()) + QStringLiteral(".pdf");
}

void ReportPreview::savePdf() {
    const QString path =
        SaveFile::ask(this, QStringLiteral("Αποθήκευση PDF"), QStringLiteral("PDF (*.pdf)"),
                      QStringLiteral("pdf"), pdfFolder(), proposedPdfName());
    if (path.isEmpty())
        return;
    savePdfTo(path);
    lastPdfFolder() = QFileInfo(path).absolutePath();
}

void ReportPreview::savePdfTo(const QString& path) {
    m_layout.writePdf(path);
}
