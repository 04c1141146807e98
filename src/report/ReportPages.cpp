#include "report/ReportPages.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextCursor>
#include <QTextFrame>

#include <algorithm>

using namespace ReportMetrics;

namespace {

constexpr double kGapBeforeList = 6.0;
constexpr double kGapAfterList = 8.0;
constexpr double kGapBeforeMemo = 4.0;
constexpr double kGapAfterMemo = 6.0;
constexpr int kMemoLinesKeptWithCard = 2; // a card never ends a page without its memo's start

void setFonts(ReportPages::Segment& s, double pointSize) {
    s.font = ReportLayout::defaultFont();
    s.font.setPointSizeF(pointSize);
    s.boldFont = s.font;
    s.boldFont.setBold(true);
    s.plainMetrics = std::make_unique<QFontMetricsF>(s.font, layoutDevice());
    s.boldMetrics = std::make_unique<QFontMetricsF>(s.boldFont, layoutDevice());
}

} // namespace

QPaintDevice* ReportMetrics::layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(kCssDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

ReportPages::ReportPages(std::vector<ReportHtml::Part> parts) {
    using Kind = ReportHtml::Part::Kind;
    m_segments.reserve(parts.size());
    for (ReportHtml::Part& part : parts) {
        auto s = std::make_unique<Segment>();
        s->kind = part.kind;
        if (part.kind == Kind::List) {
            s->list = std::move(part.list);
            setFonts(*s, s->list.pointSize);
        } else if (part.kind == Kind::Memo) {
            setFonts(*s, part.pointSize > 0 ? part.pointSize
                                            : ReportLayout::defaultFont().pointSizeF());
            s->indent = part.indent;
            s->continued = std::move(part.continued);
            for (const QString& paragraph : part.memo.split(u'\n'))
                s->paragraphs.push_back(
                    std::make_unique<QTextLayout>(paragraph, s->font, layoutDevice()));
        } else {
            s->doc = std::make_unique<QTextDocument>();
            QTextDocument& doc = *s->doc;
            doc.setUndoRedoEnabled(false);
            doc.setUseDesignMetrics(true);
            doc.documentLayout()->setPaintDevice(layoutDevice());
            doc.setDefaultFont(ReportLayout::defaultFont());
            doc.setDocumentMargin(0);
            // No page size yet, so that Qt does not lay the text out as it reads it: the
            // pages are laid out once, for the device's page.
            doc.setPageSize(QSizeF(0, 0));
            doc.setHtml(part.html);
            part.html.clear();
            // The spacer: a new first block; the text's own first block keeps its format.
            const QTextBlockFormat firstFormat = doc.begin().blockFormat();
            const QTextCharFormat firstChars = doc.begin().charFormat();
            QTextCursor cursor(&doc);
            cursor.movePosition(QTextCursor::Start);
            cursor.insertBlock(firstFormat, firstChars);
            cursor.setBlockFormat(firstFormat);
            // The glyphs are kept from layout to painting, as for a memo.
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
                b.layout()->setCacheEnabled(true);
        }
        m_segments.push_back(std::move(s));
    }
}

ReportPages::~ReportPages() = default;

void ReportPages::layOut(const QSizeF& content) {
    if (m_laidOutFor == content)
        return;
    int page = 0;
    double y = 0;
    for (auto& s : m_segments)
        if (s->isMemo())
            wrapMemo(*s, content.width());
    for (size_t i = 0; i < m_segments.size(); ++i) {
        Segment& s = *m_segments[i];
        s.fromPage = page;
        if (s.isList()) {
            layOutList(s, content, page, y);
        } else if (s.isMemo()) {
            layOutMemo(s, content, page, y);
        } else {
            // A card stays with the first lines of the memo that follows it.
            double lead = 0;
            if (i + 1 < m_segments.size() && m_segments[i + 1]->isMemo()) {
                const Segment& memo = *m_segments[i + 1];
                const size_t lines =
                    std::min<size_t>(kMemoLinesKeptWithCard, memo.memoLines.size());
                lead = kGapBeforeMemo + double(lines) * memo.plainMetrics->lineSpacing();
            }
            layOutRich(s, content, page, y, lead);
        }
        s.toPage = page;
    }
    m_count = page + 1;
    m_laidOutFor = content;
}

void ReportPages::layOutRich(Segment& s, const QSizeF& content, int& page, double& y, double lead) {
    const double height = content.height();
    if (s.keep()) {
        // Laid out once from the top of a page; drawn whole where it fits.
        const double h = richHeight(s, content, 0);
        if (h <= height) {
            if (y > 0 && y + h + lead > height) {
                ++page;
                y = 0;
            }
            s.firstPage = page;
            s.pageSpan = 1;
            s.top = y;
            y += h;
            return;
        }
    }
    s.top = 0;
    const double bottom = richHeight(s, content, y);
    int endPage = int(bottom / height);
    if (endPage > 0 && bottom - endPage * height < 0.5)
        --endPage;
    s.firstPage = page;
    s.pageSpan = endPage + 1;
    page += endPage;
    y = std::max(0.0, bottom - endPage * height);
}

double ReportPages::richHeight(Segment& s, const QSizeF& content, double y) {
    QTextDocument& doc = *s.doc;
    QTextBlockFormat spacer;
    spacer.setTopMargin(0);
    spacer.setBottomMargin(0);
    spacer.setLineHeight(y, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(doc.begin());
    cursor.setBlockFormat(spacer);
    // Breaks set for an earlier page size are given up before laying out again.
    for (const QTextBlock& b : s.headingBreaks) {
        if (!b.isValid())
            continue;
        QTextCursor c(b);
        QTextBlockFormat f = c.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        c.setBlockFormat(f);
    }
    s.headingBreaks.clear();
    doc.setPageSize(content);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    doc.pageCount(); // lays the whole document out
    keepHeadingsWithText(s, content.height());
    splitAtPageTops(s, content.height());

    QTextBlock last = doc.lastBlock();
    QRectF rect = layout->blockBoundingRect(last);
    // The empty block Qt keeps after a closing table takes no room of its own; the table
    // itself reaches down to its lower border.
    double bottom = last.length() <= 1 && last.blockNumber() > 1 ? rect.top() : rect.bottom();
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        bottom = std::max(bottom, layout->frameBoundingRect(frame).bottom());
    return bottom;
}

void ReportPages::wrapMemo(Segment& s, double width) {
    if (s.wrappedFor == width)
        return;
    s.wrappedFor = width;
    const double avail = std::max(1.0, width - s.indent);
    const double spacing = s.plainMetrics->lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    s.memoLines.clear();
    for (size_t p = 0; p < s.paragraphs.size(); ++p) {
        QTextLayout& layout = *s.paragraphs[p];
        // The glyphs are kept for painting: shaping the text again there took as long as
        // laying it out.
        layout.setCacheEnabled(true);
        layout.setTextOption(option);
        layout.beginLayout();
        int n = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(avail);
            line.setPosition(QPointF(0, n * spacing));
            s.memoLines.push_back({int(p), n++, 0, 0});
        }
        layout.endLayout();
        if (n == 0) // an empty line of the memo keeps its room
            s.memoLines.push_back({int(p), -1, 0, 0});
    }
}

void ReportPages::layOutMemo(Segment& s, const QSizeF& content, int& page, double& y) {
    const double height = content.height();
    const double spacing = s.plainMetrics->lineSpacing();
    const double head = s.continued.isEmpty() ? 0 : s.boldMetrics->lineSpacing() + kMemoHeadGap;
    s.headPages.clear();
    if (y > 0)
        y += kGapBeforeMemo;
    for (Segment::MemoLine& line : s.memoLines) {
        if (y + spacing > height && y > head) {
            ++page;
            s.headPages.push_back(page);
            y = head;
        }
        line.page = page;
        line.y = y;
        y += spacing;
    }
    y += kGapAfterMemo;
    if (y > height) {
        ++page;
        y = 0;
    }
}

void ReportPages::keepHeadingsWithText(Segment& s, double pageHeight) {
    // A heading left alone at the foot of a page goes over to the next one, with its text.
    QTextDocument& doc = *s.doc;
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    auto pageOf = [pageHeight](double y) { return int(y / pageHeight); };
    // Each move lays the rest of the document out again; a very long report stops moving
    // headings once that work passes a fixed amount rather than keep the person waiting.
    // Counted in blocks, not measured by a clock, so that the same data always gives the
    // same pages.
    constexpr qint64 kWorkBudget = 30000;
    qint64 work = 0;
    for (QTextBlock b = doc.begin().next(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 0 || b.blockFormat().pageBreakPolicy() != 0)
            continue;
        const QTextBlock next = b.next();
        if (!next.isValid() || QTextCursor(b).currentTable())
            continue;
        // Where the first line of the text and the last line of the heading stand; Qt
        // moves a line that does not fit to the next page without moving its block.
        const QTextLayout* headLines = b.layout();
        const QTextLayout* textLines = next.layout();
        if (headLines->lineCount() == 0 || textLines->lineCount() == 0)
            continue;
        const double head =
            layout->blockBoundingRect(b).top() + headLines->lineAt(headLines->lineCount() - 1).y();
        const double text = layout->blockBoundingRect(next).top() + textLines->lineAt(0).y();
        if (pageOf(text + 0.5) <= pageOf(head) || head < 1)
            continue;
        work += doc.blockCount() - b.blockNumber();
        if (work > kWorkBudget)
            break;
        QTextCursor c(b);
        QTextBlockFormat f = c.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.setBlockFormat(f);
        s.headingBreaks.push_back(b);
        doc.pageCount(); // lays the document out again, to the end
    }
}

void ReportPages::splitAtPageTops(Segment& s, double pageHeight) {
    // Qt draws a page of a paragraph from the last line of the page before (clipped away,
    // yet present in the PDF's text), so a paragraph that runs on to the next page is cut
    // into two there: its lines stay where they are, each page holds only its own.
    QTextDocument& doc = *s.doc;
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    std::vector<int> cuts; // where a page begins inside a paragraph
    for (QTextBlock b = doc.begin().next(); b.isValid(); b = b.next()) {
        const QTextLayout* lines = b.layout();
        if (lines->lineCount() < 2 || b.textList() || b.blockFormat().headingLevel() != 0 ||
            QTextCursor(b).currentTable())
            continue;
        const double top = layout->blockBoundingRect(b).top();
        int page = int((top + lines->lineAt(0).y() + 0.5) / pageHeight);
        for (int i = 1; i < lines->lineCount(); ++i) {
            const int next = int((top + lines->lineAt(i).y() + 0.5) / pageHeight);
            if (next != page)
                cuts.push_back(b.position() + lines->lineAt(i).textStart());
            page = next;
        }
    }
    if (cuts.empty())
        return;
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it) {
        c.setPosition(*it);
        // A line break before the cut becomes the paragraph's end.
        if (doc.characterAt(*it - 1) == QChar::LineSeparator)
            c.deletePreviousChar();
        c.insertBlock();
        QTextBlockFormat after = c.blockFormat();
        after.setTopMargin(0);
        after.setTextIndent(0);
        after.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        c.setBlockFormat(after);
        QTextCursor before(c.block().previous());
        QTextBlockFormat f = before.blockFormat();
        f.setBottomMargin(0);
        before.setBlockFormat(f);
    }
    c.endEditBlock();
    doc.pageCount(); // lays the document out again, to the end
}

double ReportPages::listRowHeight(Segment& s, std::vector<ReportLayout::ListCell>& row,
                                  double width) {
    const QFontMetricsF& plain = *s.plainMetrics;
    int lines = 1;
    for (size_t c = 0; c < row.size() && c < s.list.widths.size(); ++c) {
        ReportLayout::ListCell& cell = row[c];
        const QFontMetricsF& fm = cell.bold ? *s.boldMetrics : plain;
        const double avail = std::max(1.0, s.list.widths[c] * width - 2 * kCellPadX);
        cell.advance = -1;
        if (cell.text.isEmpty())
            continue;
        if (!cell.text.contains(u'\n')) {
            QHash<QString, double>& known = s.advances[cell.bold ? 1 : 0];
            auto found = known.constFind(cell.text);
            if (found == known.cend())
                found = known.insert(cell.text, fm.horizontalAdvance(cell.text));
            const double advance = *found;
            if (advance <= avail) {
                cell.advance = float(advance);
                continue;
            }
        }
        QTextLayout layout(cell.text, cell.bold ? s.boldFont : s.font, layoutDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        int n = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(avail);
            ++n;
        }
        layout.endLayout();
        lines = std::max(lines, n);
    }
    return lines * plain.lineSpacing() + 2 * kCellPadY;
}

void ReportPages::layOutList(Segment& s, const QSizeF& content, int& page, double& y) {
    const double width = content.width();
    const double height = content.height();
    s.headerHeights.clear();
    s.headerHeight = 0;
    for (auto& row : s.list.header) {
        s.headerHeights.push_back(listRowHeight(s, row, width));
        s.headerHeight += s.headerHeights.back();
    }
    const size_t n = s.list.rows.size();
    s.rowHeight.resize(n);
    for (size_t i = 0; i < n; ++i)
        s.rowHeight[i] = listRowHeight(s, s.list.rows[i], width);
    s.rowPage.resize(n);
    s.rowTop.resize(n);
    s.headers.clear();

    const double first = n > 0 ? s.rowHeight[0] : 0;
    if (y > 0)
        y += kGapBeforeList;
    if (y > 0 && y + s.headerHeight + first > height) {
        ++page;
        y = 0;
    }
    s.headers.emplace_back(page, y);
    y += s.headerHeight;
    for (size_t i = 0; i < n; ++i) {
        const double h = s.rowHeight[i];
        const bool pageHasRows = i > 0 && s.rowPage[i - 1] == page;
        if (y + h > height && pageHasRows) {
            ++page;
            s.headers.emplace_back(page, 0.0);
            y = s.headerHeight;
        }
        s.rowPage[i] = page;
        s.rowTop[i] = y;
        y += h;
    }
    y += kGapAfterList;
    if (y > height) {
        ++page;
        y = 0;
    }
}
