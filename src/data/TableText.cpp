#include "TableText.h"

#include "Values.h"

namespace TableText {

namespace {

QString quotedWhen(const QString& value, const QString& specials) {
    const QString v = inert(value);
    bool quote = false;
    for (const QChar c : v)
        if (specials.contains(c)) {
            quote = true;
            break;
        }
    if (!quote)
        return v;
    QString q = v;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString joined(const Rows& rows, QChar separator, const QString& specials, const QString& lineEnd) {
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += separator;
            text += quotedWhen(row[i], specials);
        }
        text += lineEnd;
    }
    return text;
}

} // namespace

QString inert(const QString& value) {
    if (value.isEmpty())
        return value;
    const QChar first = value.front();
    const bool formulaStart = first == u'=' || first == u'+' || first == u'-' || first == u'@';
    if (!formulaStart || Values::parseNumber(value, nullptr))
        return value;
    return u'\'' + value;
}

QByteArray csv(const Rows& rows) {
    return QByteArray("\xEF\xBB\xBF") +
           joined(rows, u';', QStringLiteral(";\"\r\n"), QStringLiteral("\r\n")).toUtf8();
}

QString tabSeparated(const Rows& rows) {
    return joined(rows, u'\t', QStringLiteral("\t\"\r\n"), QStringLiteral("\n"));
}

QString htmlTable(const Rows& rows, bool header) {
    QString html = QStringLiteral("<table>");
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const bool heading = header && r == 0;
        html += QStringLiteral("<tr>");
        for (const QString& value : rows[r]) {
            QString cell = inert(value).toHtmlEscaped();
            cell.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
            cell.replace(u'\n', QStringLiteral("<br>"));
            html += heading ? QStringLiteral("<th>%1</th>").arg(cell)
                            : QStringLiteral("<td>%1</td>").arg(cell);
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace TableText
