#include "report/ReportLayout.h"

#include "data/UserError.h"
#include "report/ReportHtml.h"
#include "report/ReportPages.h"
#include "report/ReportPaint.h"

#include <QDir>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

using namespace ReportMetrics;

ReportLayout::ReportLayout(const QString& html, QPageLayout::Orientation orientation,
                           const QString& title)
    : m_title(title), m_orientation(orientation),
      m_pages(std::make_unique<ReportPages>(ReportHtml::parts(html))) {}

ReportLayout::~ReportLayout() = default;

QFont ReportLayout::defaultFont() {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(10);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPageLayout ReportLayout::pageLayout() const {
    return QPageLayout(QPageSize(QPageSize::A4), m_orientation, QMarginsF(15, 12, 15, 10),
                       QPageLayout::Millimeter);
}

QSizeF ReportLayout::contentSize(QPagedPaintDevice* device) const {
    const QRectF paint = device->pageLayout().paintRect(QPageLayout::Point);
    const double k = kCssDpi / 72.0;
    return QSizeF(paint.width() * k, paint.height() * k - kFooterHeight);
}

int ReportLayout::pageCount(QPagedPaintDevice* device) {
    device->setPageLayout(pageLayout());
    m_pages->layOut(contentSize(device));
    return m_pages->count();
}

int ReportLayout::print(QPagedPaintDevice* device) {
    pageCount(device);
    const QSizeF size = contentSize(device);
    QPainter painter;
    if (!painter.begin(device))
        throw UserError(QStringLiteral("Η εκτύπωση δεν μπορεί να ξεκινήσει."));
    const double scale = device->logicalDpiX() / kCssDpi;
    const int pages = m_pages->count();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        painter.save();
        painter.scale(scale, scale);
        paintReportPage(painter, *m_pages, page, size);
        painter.restore();
    }
    painter.end();
    return pages;
}

int ReportLayout::writePdf(const QString& path) {
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw UserError(QStringLiteral("Το αρχείο PDF δεν μπορεί να γραφτεί:\r\"%1\"")
                                .arg(QDir::toNativeSeparators(path)));
    }
    QPdfWriter writer(path);
    writer.setTitle(m_title);
    writer.setCreator(QStringLiteral("Marivelle"));
    return print(&writer);
}
