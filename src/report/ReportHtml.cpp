#include "report/ReportHtml.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr double kCssDpi = 96.0;

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

} // namespace

QString ReportHtml::cellText(QStringView html, bool* bold) {
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

// Values reach the template with their line breaks as <br>, so a run of white space holding
// a raw line break is the template's own layout.
QString ReportHtml::memoText(QStringView html) {
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

namespace {

// A length given in points in an inline style ("font-size: 9pt"), in points; 0 when absent.
double stylePoints(QStringView tag, const QString& property) {
    // Compiled once per property: a report of a thousand memos asks for each a thousand times.
    static QHash<QString, QRegularExpression> cache;
    auto it = cache.find(property);
    if (it == cache.end())
        it = cache.insert(property,
                          QRegularExpression(
                              QStringLiteral("(?:^|;)\\s*%1\\s*:\\s*([0-9.]+)\\s*pt").arg(property),
                              QRegularExpression::CaseInsensitiveOption));
    const QString style = attribute(tag, QStringLiteral("style"));
    const QRegularExpressionMatch m = it->match(style);
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

bool isBlankHtml(QStringView html) {
    static const QRegularExpression visible(QStringLiteral("<(img|hr|table)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (visible.match(html).hasMatch())
        return false;
    bool bold = false;
    return ReportHtml::cellText(html, &bold).trimmed().isEmpty();
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

} // namespace

ReportLayout::ListTable ReportHtml::listTable(QStringView tableTag, const QString& html,
                                              qsizetype from, qsizetype to) {
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
            c.text = ReportHtml::cellText(QStringView(html).mid(tagEnd + 1, close - tagEnd - 1),
                                          &c.bold);
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

std::vector<ReportHtml::Part> ReportHtml::parts(const QString& html) {
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

    std::vector<Part> parts;
    auto addRich = [&](QStringView fragment, Part::Kind kind) {
        if (isBlankHtml(fragment))
            return;
        Part& p = parts.emplace_back();
        p.kind = kind;
        p.html.reserve(prefix.size() + fragment.size() + 14);
        p.html.append(prefix).append(fragment).append(QLatin1StringView("</body></html>"));
    };
    auto addList = [&](QStringView tag, qsizetype from, qsizetype to) {
        Part& p = parts.emplace_back();
        p.kind = Part::Kind::List;
        p.list = listTable(tag, body, from, to);
    };
    auto addMemo = [&](QStringView tag, QStringView content) {
        QString text = memoText(content);
        if (text.trimmed().isEmpty())
            return;
        Part& p = parts.emplace_back();
        p.kind = Part::Kind::Memo;
        p.memo = std::move(text);
        p.pointSize = stylePoints(tag, QStringLiteral("font-size"));
        p.indent = stylePoints(tag, QStringLiteral("margin-left")) * kCssDpi / 72.0;
        bool bold = false;
        p.continued =
            cellText(attribute(tag, QStringLiteral("data-continued")), &bold).replace(u'\n', u' ');
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
        const QStringView tag = QStringView(body).mid(at, tagEnd - at + 1);
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
        const QStringView view(body);
        addRich(view.mid(richStart, at - richStart), Part::Kind::Rich);
        if (isTable)
            addList(tag, tagEnd + 1, close);
        else if (hasClass("memo"))
            addMemo(tag, view.mid(tagEnd + 1, close - tagEnd - 1));
        else
            addRich(view.mid(at, after - at), Part::Kind::Keep);
        pos = richStart = after;
    }
    addRich(QStringView(body).mid(richStart), Part::Kind::Rich);
    return parts;
}
