#include "report/ReportPaint.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>

#include <algorithm>

using namespace ReportMetrics;
using Segment = ReportPages::Segment;

namespace {

// A font that shows pointSize on a painter scaled from CSS pixels to the device.
QFont paintingFont(QFont font, double pointSize, const QPainter& painter) {
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : kCssDpi;
    font.setPointSizeF(pointSize * kCssDpi / dpi);
    return font;
}

struct PaintFonts {
    QFont plainFont;
    QFont boldFont;
    int bold = -1; // which one the painter has
};

void paintMemo(QPainter& painter, const Segment& s, int page, double width) {
    painter.setPen(Qt::black);
    if (std::binary_search(s.headPages.begin(), s.headPages.end(), page)) {
        painter.setFont(paintingFont(s.boldFont, s.boldFont.pointSizeF(), painter));
        const double base = s.boldMetrics->ascent();
        painter.drawText(QPointF(0, base), s.continued);
        const double rule = s.boldMetrics->lineSpacing() + kMemoHeadGap / 2;
        painter.setPen(QPen(QColor(160, 166, 176), 0.75));
        painter.drawLine(QPointF(0, rule), QPointF(width, rule));
        painter.setPen(Qt::black);
    }
    const auto begin =
        std::lower_bound(s.memoLines.begin(), s.memoLines.end(), page,
                         [](const Segment::MemoLine& line, int p) { return line.page < p; });
    for (auto it = begin; it != s.memoLines.end() && it->page == page; ++it) {
        if (it->line < 0)
            continue;
        const QTextLine line = s.paragraphs[size_t(it->paragraph)]->lineAt(it->line);
        line.draw(&painter, QPointF(s.indent, it->y - line.y()));
    }
}

void paintListRow(QPainter& painter, PaintFonts& fonts, const Segment& s,
                  const std::vector<ReportLayout::ListCell>& row, double y, double width,
                  double height, bool header, bool shaded) {
    if (header)
        painter.fillRect(QRectF(0, y, width, height), QColor(222, 226, 232));
    else if (shaded)
        painter.fillRect(QRectF(0, y, width, height), QColor(243, 245, 248));
    const QFontMetricsF& plain = *s.plainMetrics;
    double x = 0;
    for (size_t c = 0; c < row.size() && c < s.list.widths.size(); ++c) {
        const ReportLayout::ListCell& cell = row[c];
        const double colWidth = s.list.widths[c] * width;
        const double avail = std::max(1.0, colWidth - 2 * kCellPadX);
        if (!cell.text.isEmpty()) {
            const QFont& font = cell.bold ? s.boldFont : s.font;
            const QFontMetricsF& fm = cell.bold ? *s.boldMetrics : plain;
            const double advance = cell.advance;
            if (advance >= 0) {
                double left = x + kCellPadX;
                if (cell.align & Qt::AlignRight)
                    left += avail - advance;
                else if (cell.align & Qt::AlignHCenter)
                    left += (avail - advance) / 2;
                if (fonts.bold != int(cell.bold)) {
                    fonts.bold = int(cell.bold);
                    painter.setFont(cell.bold ? fonts.boldFont : fonts.plainFont);
                }
                painter.drawText(QPointF(left, y + kCellPadY + fm.ascent()), cell.text);
            } else {
                QTextLayout layout(cell.text, font, layoutDevice());
                QTextOption option;
                option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                option.setAlignment(cell.align);
                layout.setTextOption(option);
                layout.beginLayout();
                double ly = 0;
                for (QTextLine line = layout.createLine(); line.isValid();
                     line = layout.createLine()) {
                    line.setLineWidth(avail);
                    line.setPosition(QPointF(0, ly));
                    ly += plain.lineSpacing();
                }
                layout.endLayout();
                painter.save();
                painter.setClipRect(QRectF(x, y, colWidth, height), Qt::IntersectClip);
                layout.draw(&painter, QPointF(x + kCellPadX, y + kCellPadY));
                painter.restore();
            }
        }
        x += colWidth;
    }
    if (header) {
        painter.setPen(QPen(QColor(90, 98, 110), 1.0));
        painter.drawLine(QPointF(0, y + height), QPointF(width, y + height));
        painter.setPen(Qt::black);
    }
}

void paintList(QPainter& painter, const Segment& s, int page, double width) {
    painter.setPen(Qt::black);
    PaintFonts fonts{paintingFont(s.font, s.font.pointSizeF(), painter),
                     paintingFont(s.boldFont, s.boldFont.pointSizeF(), painter), -1};
    for (const auto& [headerPage, top] : s.headers) {
        if (headerPage != page)
            continue;
        double y = top;
        for (size_t i = 0; i < s.list.header.size(); ++i) {
            paintListRow(painter, fonts, s, s.list.header[i], y, width, s.headerHeights[i], true,
                         false);
            y += s.headerHeights[i];
        }
    }
    const auto begin = std::lower_bound(s.rowPage.begin(), s.rowPage.end(), page);
    double bottom = -1;
    for (auto it = begin; it != s.rowPage.end() && *it == page; ++it) {
        const size_t i = size_t(it - s.rowPage.begin());
        paintListRow(painter, fonts, s, s.list.rows[i], s.rowTop[i], width, s.rowHeight[i], false,
                     i % 2 == 1);
        bottom = s.rowTop[i] + s.rowHeight[i];
    }
    if (bottom >= 0) {
        painter.setPen(QPen(QColor(160, 166, 176), 0.75));
        painter.drawLine(QPointF(0, bottom), QPointF(width, bottom));
        painter.setPen(Qt::black);
    }
}

} // namespace

void paintReportPage(QPainter& painter, const ReportPages& pages, int page, const QSizeF& content) {
    // Only the parts on this page: a report of a thousand cards has thousands of parts.
    auto it = std::partition_point(pages.segments().begin(), pages.segments().end(),
                                   [page](const auto& s) { return s->toPage < page; });
    for (; it != pages.segments().end() && (*it)->fromPage <= page; ++it) {
        const auto& s = *it;
        if (s->isList()) {
            paintList(painter, *s, page, content.width());
            continue;
        }
        if (s->isMemo()) {
            paintMemo(painter, *s, page, content.width());
            continue;
        }
        const int j = page - s->firstPage;
        if (j < 0 || j >= s->pageSpan)
            continue;
        painter.save();
        const double top = j * content.height() - s->top;
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext ctx;
        // Text that begins exactly at the next page's top, or ends exactly at this page's
        // top, would still be drawn (clipped, yet present in the PDF's text): the clip stops
        // just short of both edges.
        ctx.clip = QRectF(0, top + 0.25, content.width(), content.height() - 0.5);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        // A part kept whole on its page needs no clip, which costs much in a PDF.
        if (!s->keep() || s->pageSpan > 1)
            painter.setClipRect(QRectF(0, top, content.width(), content.height()),
                                Qt::IntersectClip);
        s->doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    // The page number at the foot.
    QFont foot = ReportLayout::defaultFont();
    painter.setFont(paintingFont(foot, 8, painter));
    painter.setPen(QColor(80, 80, 80));
    painter.drawText(QRectF(0, content.height(), content.width(), kFooterHeight),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Σελίδα %1 από %2").arg(page + 1).arg(pages.count()));
    painter.setPen(Qt::black);
}
