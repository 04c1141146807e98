#include "report/ReportLayout.h"

#include "data/UserError.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr double kCssDpi = 96.0;
constexpr double kFooterHeight = 22.0; // room for the page number under the text
constexpr double kCellPadX = 4.0;
constexpr double kCellPadY = 2.0;
constexpr double kGapBeforeList = 6.0;
constexpr double kGapAfterList = 8.0;
constexpr double kGapBeforeMemo = 4.0;
constexpr double kGapAfterMemo = 6.0;
constexpr double kMemoHeadGap = 6.0;      // under the line that names whose memo runs on
constexpr int kMemoLinesKeptWithCard = 2; // a card never ends a page without its memo's start

// Text is measured for a device of 96 dpi, so that a CSS pixel is one unit.
QPaintDevice* layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(kCssDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

// A font that shows pointSize on a painter scaled from CSS pixels to the device.
QFont paintingFont(QFont font, double pointSize, const QPainter& painter) {
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : kCssDpi;
    font.setPointSizeF(pointSize * kCssDpi / dpi);
    return font;
}

// The next "<name" tag at or after from and before limit (-1: the end of the text).
qsizetype indexOfTag(const QString& text, QLatin1StringView name, qsizetype from,
                     qsizetype limit = -1) {
    const QStringView view = QStringView(text).left(limit < 0 ? text.size() : limit);
    const QString open = u'<' + QString(name);
    for (;;) {
        const qsizetype at = view.indexOf(open, from, Qt::CaseInsensitive);
        if (at < 0)
            return -1;
        const qsizetype next = at + open.size();
        if (next >= view.size())
            return -1;
        const QChar c = view.at(next);
        if (c == u'>' || c == u'/' || c.isSpace())
            return at;
        from = next;
    }
}

QString attribute(QStringView tag, const QString& name) {
    static QHash<QString, QRegularExpression> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(
            name,
            QRegularExpression(
                QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
                QRegularExpression::CaseInsensitiveOption));
    const QRegularExpressionMatch m = it->match(tag);
    if (!m.hasMatch())
        return {};
    for (int i = 1; i <= 3; ++i)
        if (m.capturedLength(i) > 0)
            return m.captured(i);
    return {};
}

QChar entity(QStringView name) {
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        return ok && code > 0 && code < 0x10000 ? QChar(char16_t(code)) : QChar();
    }
    if (name == u"amp")
        return u'&';
    if (name == u"lt")
        return u'<';
    if (name == u"gt")
        return u'>';
    if (name == u"quot")
        return u'"';
    if (name == u"apos")
        return u'\'';
    if (name == u"nbsp")
        return QChar(0xa0);
    return {};
}

// An entity at i ("&amp;") appended decoded, i left on its ";"; false when there is none.
bool appendEntity(QStringView html, qsizetype& i, QString& out) {
    const qsizetype end = html.indexOf(u';', i);
    if (end <= i || end - i > 10)
        return false;
    const QChar decoded = entity(html.mid(i + 1, end - i - 1));
    if (decoded.isNull())
        return false;
    out += decoded;
    i = end;
    return true;
}

// The name of the tag opening at html[i] ("br", "/b") and the index of its ">"; -1 there
// when the tag is never closed.
QStringView tagAt(QStringView html, qsizetype i, qsizetype* end) {
    *end = html.indexOf(u'>', i);
    if (*end < 0)
        return {};
    const QStringView tag = html.mid(i + 1, *end - i - 1).trimmed();
    qsizetype n = !tag.isEmpty() && tag[0] == u'/' ? 1 : 0;
    while (n < tag.size() && tag[n].isLetterOrNumber())
        ++n;
    return tag.left(n);
}

// The text of a list cell: tags dropped, <br> kept as a line break, blanks collapsed.
QString cellText(QStringView html, bool* bold) {
    *bold = false;
    QString out;
    out.reserve(html.size());
    bool blank = false;
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html[i];
        if (c == u'<') {
            qsizetype end = 0;
            const QStringView name = tagAt(html, i, &end);
            if (end < 0)
                break;
            if (name.compare(u"br", Qt::CaseInsensitive) == 0) {
                while (out.endsWith(u' '))
                    out.chop(1);
                out += u'\n';
                blank = false;
            } else if (name.compare(u"b", Qt::CaseInsensitive) == 0 ||
                       name.compare(u"strong", Qt::CaseInsensitive) == 0) {
                *bold = true;
            }
            i = end;
            continue;
        }
        if (c.isSpace() && c != QChar(0xa0)) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty() && !out.endsWith(u'\n'))
            out += u' ';
        blank = false;
        if (c == u'&' && appendEntity(html, i, out))
            continue;
        out += c;
    }
    return out;
}

// The text of a memo as typed: tags dropped, <br> a line break, entities decoded, every
// blank and tab kept. Values reach the template with their line breaks as <br>, so a run of
// white space holding a raw line break is the template's own layout and is dropped.
QString memoText(QStringView html) {
    QString out;
    out.reserve(html.size());
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html[i];
        if (c == u'<') {
            qsizetype end = 0;
            const QStringView name = tagAt(html, i, &end);
            if (end < 0)
                break;
            if (name.compare(u"br", Qt::CaseInsensitive) == 0)
                out += u'\n';
            i = end;
            continue;
        }
        if (c.isSpace()) {
            qsizetype end = i;
            bool templateBreak = false;
            while (end < html.size() && html[end].isSpace()) {
                templateBreak = templateBreak || html[end] == u'\n' || html[end] == u'\r';
                ++end;
            }
            if (!templateBreak)
                out += html.mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u'&' && appendEntity(html, i, out))
            continue;
        out += c;
    }
    return out;
}

// A length given in points in an inline style ("font-size: 9pt"), in points; 0 when absent.
double stylePoints(QStringView tag, const QString& property) {
    const QString style = attribute(tag, QStringLiteral("style"));
    const QRegularExpression re(
        QStringLiteral("(?:^|;)\\s*%1\\s*:\\s*([0-9.]+)\\s*pt").arg(property),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(style);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

// Where the <div> whose content begins at from closes (the index of its "</div"), minding
// the divs inside it; the end of the text when it never closes.
qsizetype closingDiv(const QString& html, qsizetype from) {
    int depth = 1;
    qsizetype pos = from;
    for (;;) {
        const qsizetype open = indexOfTag(html, QLatin1StringView("div"), pos);
        const qsizetype close = html.indexOf(QStringLiteral("</div"), pos, Qt::CaseInsensitive);
        if (close < 0)
            return html.size();
        if (open >= 0 && open < close) {
            ++depth;
            pos = open + 4;
            continue;
        }
        if (--depth == 0)
            return close;
        pos = close + 5;
    }
}

bool isBlankHtml(const QString& html) {
    static const QRegularExpression visible(QStringLiteral("<(img|hr|table)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (visible.match(html).hasMatch())
        return false;
    bool bold = false;
    return cellText(html, &bold).trimmed().isEmpty();
}

Qt::Alignment alignmentOf(QStringView tag, Qt::Alignment fallback) {
    const QString a = attribute(tag, QStringLiteral("align")).toLower();
    if (a == u"right")
        return Qt::AlignRight;
    if (a == u"center")
        return Qt::AlignHCenter;
    if (a == u"left")
        return Qt::AlignLeft;
    return fallback;
}

ReportLayout::ListTable parseList(const QString& tableTag, const QString& html, qsizetype from,
                                  qsizetype to) {
    ReportLayout::ListTable table;
    static const QRegularExpression sizeRe(QStringLiteral("font-size\\s*:\\s*([0-9.]+)\\s*pt"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch size = sizeRe.match(tableTag);
    if (size.hasMatch() && size.captured(1).toDouble() > 0)
        table.pointSize = size.captured(1).toDouble();

    std::vector<QString> widthTexts;
    qsizetype pos = from;
    for (;;) {
        const qsizetype tr = indexOfTag(html, QLatin1StringView("tr"), pos, to);
        if (tr < 0 || tr >= to)
            break;
        qsizetype rowEnd = html.indexOf(QStringLiteral("</tr"), tr, Qt::CaseInsensitive);
        if (rowEnd < 0 || rowEnd > to)
            rowEnd = to;
        std::vector<ReportLayout::ListCell> cells;
        bool allHeader = true;
        qsizetype cpos = html.indexOf(u'>', tr) + 1;
        while (cpos > 0 && cpos < rowEnd) {
            const qsizetype td = indexOfTag(html, QLatin1StringView("td"), cpos, rowEnd);
            const qsizetype th = indexOfTag(html, QLatin1StringView("th"), cpos, rowEnd);
            qsizetype cell = td < 0 ? th : th < 0 ? td : std::min(td, th);
            if (cell < 0 || cell >= rowEnd)
                break;
            const bool isHeader = cell == th;
            const qsizetype tagEnd = html.indexOf(u'>', cell);
            if (tagEnd < 0 || tagEnd >= rowEnd)
                break;
            const QStringView tag = QStringView(html).mid(cell, tagEnd - cell);
            qsizetype close =
                html.indexOf(isHeader ? QStringLiteral("</th") : QStringLiteral("</td"), tagEnd,
                             Qt::CaseInsensitive);
            if (close < 0 || close > rowEnd)
                close = rowEnd;
            ReportLayout::ListCell c;
            c.text = cellText(QStringView(html).mid(tagEnd + 1, close - tagEnd - 1), &c.bold);
            c.bold = c.bold || isHeader;
            c.align = tag.size() > 4 ? alignmentOf(tag, Qt::AlignLeft) : Qt::AlignLeft;
            if (widthTexts.size() <= cells.size())
                widthTexts.resize(cells.size() + 1);
            if (tag.size() > 4 && widthTexts[cells.size()].isEmpty())
                widthTexts[cells.size()] = attribute(tag, QStringLiteral("width"));
            allHeader = allHeader && isHeader;
            cells.push_back(std::move(c));
            cpos = close + 1;
        }
        if (!cells.empty()) {
            if (allHeader && table.rows.empty())
                table.header.push_back(std::move(cells));
            else
                table.rows.push_back(std::move(cells));
        }
        pos = rowEnd + 1;
    }

    // Columns with a percentage keep it; the others share what is left.
    const size_t columns = widthTexts.size();
    double given = 0;
    size_t open = 0;
    table.widths.assign(columns, 0);
    for (size_t i = 0; i < columns; ++i) {
        QString w = widthTexts[i].trimmed();
        if (w.endsWith(u'%') && w.chopped(1).toDouble() > 0) {
            table.widths[i] = w.chopped(1).toDouble() / 100.0;
            given += table.widths[i];
        } else {
            ++open;
        }
    }
    if (given > 1 || (open == 0 && given > 0)) {
        for (double& w : table.widths)
            w /= std::max(given, 1e-9);
        given = 1;
    }
    for (double& w : table.widths)
        if (w == 0 && open > 0)
            w = std::max(0.0, 1.0 - given) / double(open);
    return table;
}

} // namespace

struct ReportLayout::Segment {
    bool isList = false;
    bool isMemo = false;
    // A rich part: its document, whose first block is a spacer that pushes the text down
    // to where the part begins on its first page. A part kept on one page (a card) has no
    // spacer height and is drawn from top instead.
    std::unique_ptr<QTextDocument> doc;
    bool keep = false;
    double top = 0;
    int firstPage = 0;
    int pageSpan = 0;
    // The pages the part may draw on, whatever its kind; both grow from part to part.
    int fromPage = 0;
    int toPage = 0;
    std::vector<QTextBlock> headingBreaks; // pushed to a new page to stay with their text
    // A list.
    ListTable list;
    QFont font;
    QFont boldFont;
    std::unique_ptr<QFontMetricsF> plainMetrics;
    std::unique_ptr<QFontMetricsF> boldMetrics;
    // Widths already measured, plain and bold: a list repeats many of its values.
    mutable QHash<QString, double> advances[2];
    double headerHeight = 0;
    std::vector<double> headerHeights;
    std::vector<std::pair<int, double>> headers; // page and top of each repeated header
    std::vector<int> rowPage;
    std::vector<double> rowTop;
    std::vector<double> rowHeight;
    // A memo: its paragraphs, each line's place, and the pages it runs on to, which begin
    // with the line saying whose memo it is (the list's fonts serve the text and that line).
    std::vector<std::unique_ptr<QTextLayout>> paragraphs;
    struct MemoLine {
        int paragraph;
        int line;
        int page;
        double y;
    };
    std::vector<MemoLine> memoLines;
    std::vector<int> headPages;
    QString continued;
    double indent = 0;
    double wrappedFor = -1;
};

ReportLayout::ReportLayout(const QString& html, QPageLayout::Orientation orientation,
                           const QString& title)
    : m_title(title), m_orientation(orientation) {
    split(html);
}

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

void ReportLayout::split(const QString& html) {
    QString prefix;
    QString body = html;
    const qsizetype bodyTag = indexOfTag(html, QLatin1StringView("body"), 0);
    if (bodyTag >= 0) {
        const qsizetype end = html.indexOf(u'>', bodyTag);
        prefix = html.left(end + 1);
        body = html.mid(end + 1);
        const qsizetype close = body.indexOf(QStringLiteral("</body"), 0, Qt::CaseInsensitive);
        if (close >= 0)
            body.truncate(close);
    }

    auto addRich = [&](const QString& fragment, bool keep) {
        if (isBlankHtml(fragment))
            return;
        auto s = std::make_unique<Segment>();
        s->keep = keep;
        s->doc = std::make_unique<QTextDocument>();
        s->doc->setUndoRedoEnabled(false);
        s->doc->setUseDesignMetrics(true);
        s->doc->documentLayout()->setPaintDevice(layoutDevice());
        s->doc->setDefaultFont(defaultFont());
        s->doc->setDocumentMargin(0);
        s->doc->setHtml(prefix + fragment + QStringLiteral("</body></html>"));
        // The spacer: a new first block; the text's own first block keeps its format.
        const QTextBlockFormat firstFormat = s->doc->begin().blockFormat();
        const QTextCharFormat firstChars = s->doc->begin().charFormat();
        QTextCursor cursor(s->doc.get());
        cursor.movePosition(QTextCursor::Start);
        cursor.insertBlock(firstFormat, firstChars);
        cursor.setBlockFormat(firstFormat);
        m_segments.push_back(std::move(s));
    };

    auto withFonts = [](Segment& s, double pointSize) {
        s.font = defaultFont();
        s.font.setPointSizeF(pointSize);
        s.boldFont = s.font;
        s.boldFont.setBold(true);
        s.plainMetrics = std::make_unique<QFontMetricsF>(s.font, layoutDevice());
        s.boldMetrics = std::make_unique<QFontMetricsF>(s.boldFont, layoutDevice());
    };
    auto addList = [&](const QString& tag, qsizetype from, qsizetype to) {
        auto s = std::make_unique<Segment>();
        s->isList = true;
        s->list = parseList(tag, body, from, to);
        withFonts(*s, s->list.pointSize);
        m_segments.push_back(std::move(s));
    };
    auto addMemo = [&](const QString& tag, QStringView content) {
        const QString text = memoText(content);
        if (text.trimmed().isEmpty())
            return;
        auto s = std::make_unique<Segment>();
        s->isMemo = true;
        const double size = stylePoints(tag, QStringLiteral("font-size"));
        withFonts(*s, size > 0 ? size : defaultFont().pointSizeF());
        s->indent = stylePoints(tag, QStringLiteral("margin-left")) * kCssDpi / 72.0;
        bool bold = false;
        s->continued =
            cellText(attribute(tag, QStringLiteral("data-continued")), &bold).replace(u'\n', u' ');
        for (const QString& paragraph : text.split(u'\n'))
            s->paragraphs.push_back(
                std::make_unique<QTextLayout>(paragraph, s->font, layoutDevice()));
        m_segments.push_back(std::move(s));
    };

    qsizetype pos = 0;
    qsizetype richStart = 0;
    // The next of each tag, searched again only once passed: a body without tables would
    // otherwise be searched to its end for each of its thousand cards.
    qsizetype table = -2;
    qsizetype div = -2;
    for (;;) {
        if (table != -1 && table < pos)
            table = indexOfTag(body, QLatin1StringView("table"), pos);
        if (div != -1 && div < pos)
            div = indexOfTag(body, QLatin1StringView("div"), pos);
        const qsizetype at = table < 0 ? div : div < 0 ? table : std::min(table, div);
        if (at < 0)
            break;
        const bool isTable = at == table;
        const qsizetype tagEnd = body.indexOf(u'>', at);
        if (tagEnd < 0)
            break;
        const QString tag = body.mid(at, tagEnd - at + 1);
        const QStringList classes =
            attribute(tag, QStringLiteral("class")).split(u' ', Qt::SkipEmptyParts);
        auto hasClass = [&](const char* name) {
            return classes.contains(QLatin1StringView(name), Qt::CaseInsensitive);
        };
        if (isTable ? !hasClass("list") : !hasClass("keep") && !hasClass("memo")) {
            pos = tagEnd + 1;
            continue;
        }
        qsizetype close = isTable
                              ? body.indexOf(QStringLiteral("</table"), tagEnd, Qt::CaseInsensitive)
                              : closingDiv(body, tagEnd + 1);
        if (close < 0)
            close = body.size();
        const qsizetype closeEnd = body.indexOf(u'>', close);
        const qsizetype after = closeEnd < 0 ? body.size() : closeEnd + 1;
        addRich(body.mid(richStart, at - richStart), false);
        if (isTable)
            addList(tag, tagEnd + 1, close);
        else if (hasClass("memo"))
            addMemo(tag, QStringView(body).mid(tagEnd + 1, close - tagEnd - 1));
        else
            addRich(body.mid(at, after - at), true);
        pos = richStart = after;
    }
    addRich(body.mid(richStart), false);
}

QSizeF ReportLayout::contentSize(QPagedPaintDevice* device) const {
    const QRectF paint = device->pageLayout().paintRect(QPageLayout::Point);
    const double k = kCssDpi / 72.0;
    return QSizeF(paint.width() * k, paint.height() * k - kFooterHeight);
}

void ReportLayout::layOut(const QSizeF& content) {
    if (m_laidOutFor == content)
        return;
    int page = 0;
    double y = 0;
    for (auto& s : m_segments)
        if (s->isMemo)
            wrapMemo(*s, content.width());
    for (size_t i = 0; i < m_segments.size(); ++i) {
        Segment& s = *m_segments[i];
        s.fromPage = page;
        if (s.isList) {
            layOutList(s, content, page, y);
        } else if (s.isMemo) {
            layOutMemo(s, content, page, y);
        } else {
            // A card stays with the first lines of the memo that follows it.
            double lead = 0;
            if (i + 1 < m_segments.size() && m_segments[i + 1]->isMemo) {
                const Segment& memo = *m_segments[i + 1];
                const size_t lines =
                    std::min<size_t>(kMemoLinesKeptWithCard, memo.memoLines.size());
                lead = kGapBeforeMemo + double(lines) * memo.plainMetrics->lineSpacing();
            }
            layOutRich(s, content, page, y, lead);
        }
        s.toPage = page;
    }
    m_pages = page + 1;
    m_laidOutFor = content;
}

void ReportLayout::layOutRich(Segment& s, const QSizeF& content, int& page, double& y,
                              double lead) {
    const double height = content.height();
    if (s.keep) {
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

double ReportLayout::richHeight(Segment& s, const QSizeF& content, double y) {
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

void ReportLayout::wrapMemo(Segment& s, double width) {
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

void ReportLayout::layOutMemo(Segment& s, const QSizeF& content, int& page, double& y) {
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

void ReportLayout::paintMemo(QPainter& painter, const Segment& s, int page, double width) const {
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

void ReportLayout::keepHeadingsWithText(Segment& s, double pageHeight) {
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

void ReportLayout::splitAtPageTops(Segment& s, double pageHeight) {
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

double ReportLayout::listRowHeight(const Segment& s, std::vector<ListCell>& row,
                                   double width) const {
    const QFontMetricsF& plain = *s.plainMetrics;
    int lines = 1;
    for (size_t c = 0; c < row.size() && c < s.list.widths.size(); ++c) {
        ListCell& cell = row[c];
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

void ReportLayout::layOutList(Segment& s, const QSizeF& content, int& page, double& y) {
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

void ReportLayout::paintListRow(QPainter& painter, PaintFonts& fonts, const Segment& s,
                                const std::vector<ListCell>& row, double y, double width,
                                double height, bool header, bool shaded) const {
    if (header)
        painter.fillRect(QRectF(0, y, width, height), QColor(222, 226, 232));
    else if (shaded)
        painter.fillRect(QRectF(0, y, width, height), QColor(243, 245, 248));
    const QFontMetricsF& plain = *s.plainMetrics;
    double x = 0;
    for (size_t c = 0; c < row.size() && c < s.list.widths.size(); ++c) {
        const ListCell& cell = row[c];
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

void ReportLayout::paintList(QPainter& painter, const Segment& s, int page, double width) const {
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

void ReportLayout::paintPage(QPainter& painter, int page, const QSizeF& content) const {
    // Only the parts on this page: a report of a thousand cards has thousands of parts.
    auto it = std::partition_point(m_segments.begin(), m_segments.end(),
                                   [page](const auto& s) { return s->toPage < page; });
    for (; it != m_segments.end() && (*it)->fromPage <= page; ++it) {
        const auto& s = *it;
        if (s->isList) {
            paintList(painter, *s, page, content.width());
            continue;
        }
        if (s->isMemo) {
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
        if (!s->keep || s->pageSpan > 1)
            painter.setClipRect(QRectF(0, top, content.width(), content.height()),
                                Qt::IntersectClip);
        s->doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    // The page number at the foot.
    QFont foot = defaultFont();
    painter.setFont(paintingFont(foot, 8, painter));
    painter.setPen(QColor(80, 80, 80));
    painter.drawText(QRectF(0, content.height(), content.width(), kFooterHeight),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Σελίδα %1 από %2").arg(page + 1).arg(m_pages));
    painter.setPen(Qt::black);
}

int ReportLayout::pageCount(QPagedPaintDevice* device) {
    device->setPageLayout(pageLayout());
    layOut(contentSize(device));
    return m_pages;
}

int ReportLayout::print(QPagedPaintDevice* device) {
    pageCount(device);
    const QSizeF size = contentSize(device);
    QPainter painter;
    if (!painter.begin(device))
        throw UserError(QStringLiteral("Η εκτύπωση δεν μπορεί να ξεκινήσει."));
    const double scale = device->logicalDpiX() / kCssDpi;
    for (int page = 0; page < m_pages; ++page) {
        if (page > 0)
            device->newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, page, size);
        painter.restore();
    }
    painter.end();
    return m_pages;
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
