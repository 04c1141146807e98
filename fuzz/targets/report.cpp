#include "FuzzTargets.h"
#include "Property.h"

#include "report/ReportTemplate.h"

#include <QLocale>
#include <QRegularExpression>

#include <stdexcept>

namespace {

// Templates that place one value the ways the report files do; the value stands between the
// two markers, which hold no character that escaping changes.
const char* const kPlaces[] = {
    "<p>@@{{Param.V}}%%</p>",
    "<td title=\"@@{{Param.V}}%%\">x</td>",
    "<b>@@{{{Param.V}}}%%</b>",
    "@@{{&Param.V}}%%",
    "{{#T}}<tr><td>{{RecNo}}</td><td>@@{{A}}%%</td></tr>{{/T}}",
    "{{#T}}@@{{{A}}}%%{{/T}}",
    "<i>@@{{#MonthName}}{{Param.V}}{{/MonthName}}%%</i>",
};

// The text a browser shows for escaped HTML; false when it holds markup or a bare "&".
bool readBack(const QString& html, QString* text) {
    static const std::pair<const char*, char16_t> kEntities[] = {
        {"&amp;", u'&'}, {"&lt;", u'<'}, {"&gt;", u'>'}, {"&quot;", u'"'}, {"&#39;", u'\''}};
    text->clear();
    for (qsizetype i = 0; i < html.size();) {
        if (html.mid(i, 4) == u"<br>") {
            *text += u'\n';
            i += 4;
            continue;
        }
        const QChar c = html[i];
        if (c == u'<' || c == u'>' || c == u'"')
            return false;
        if (c == u'&') {
            bool known = false;
            for (const auto& [name, ch] : kEntities) {
                if (html.mid(i).startsWith(QLatin1String(name))) {
                    *text += QChar(ch);
                    i += qsizetype(qstrlen(name));
                    known = true;
                    break;
                }
            }
            if (!known)
                return false;
            continue;
        }
        *text += c;
        ++i;
    }
    return true;
}

QString withLineBreaks(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

// A template from the input itself: whatever it is, it renders or is refused with the
// engine's error, and a value's markup never comes out as markup.
void anyTemplate(const QString& text) {
    const QString value = QStringLiteral("<q>&\"x");
    const ReportTemplate t(text);
    QString out;
    try {
        out = t.render({ReportTable{QStringLiteral("T"),
                                    {QStringLiteral("A"), QStringLiteral("B")},
                                    {{value, QStringLiteral("3")}, {QString(), value}}}},
                       QDate(2024, 2, 29), {{QStringLiteral("V"), value}});
    } catch (const std::runtime_error&) {
        return;
    }
    if (!text.contains(QStringLiteral("<q")))
        Fuzz::require(!out.contains(QStringLiteral("<q")), "a value's markup is never markup",
                      Fuzz::shown(text) + QStringLiteral(" gave ") + Fuzz::shown(out));
}

} // namespace

// The first byte chooses a place for the value that follows, or (when odd past the places)
// takes the rest as a template.
int FuzzTargets::report(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    if (size < 1)
        return 0;
    const size_t places = std::size(kPlaces);
    const QString rest = Fuzz::text(data + 1, size - 1);
    if (data[0] % (places + 1) == places) {
        anyTemplate(rest);
        return 0;
    }
    const size_t place = data[0] % (places + 1);
    const QString tmpl = QString::fromUtf8(kPlaces[place]);
    const QString value = rest;
    QString out;
    try {
        out = ReportTemplate(tmpl).render(
            {ReportTable{QStringLiteral("T"), {QStringLiteral("A")}, {{value}}}},
            QDate(2024, 2, 29), {{QStringLiteral("V"), value}});
    } catch (const std::runtime_error& e) {
        Fuzz::fail("a value never breaks a sound template",
                   Fuzz::shown(value) + QStringLiteral(": ") + QString::fromUtf8(e.what()));
    }
    const qsizetype open = out.indexOf(QStringLiteral("@@"));
    const qsizetype close = out.lastIndexOf(QStringLiteral("%%"));
    Fuzz::require(open >= 0 && close > open, "the value stays between the template's text",
                  Fuzz::shown(value) + QStringLiteral(" gave ") + Fuzz::shown(out));
    const QString html = out.mid(open + 2, close - open - 2);
    QString shownText;
    Fuzz::require(readBack(html, &shownText), "a value comes out as text, never as markup",
                  Fuzz::shown(value) + QStringLiteral(" gave ") + Fuzz::shown(html));
    QString expected = withLineBreaks(value);
    if (place == 6) {
        // The month's section loses a U+FEFF that opens its text (read as a byte order
        // mark), trims it (but not a line break, which is markup by then) and writes a
        // month number as its Greek name.
        if (expected.startsWith(QChar(0xfeff)))
            expected.remove(0, 1);
        expected = expected.replace(u'\n', QChar(0xe000)).trimmed().replace(QChar(0xe000), u'\n');
        static const QRegularExpression number(QStringLiteral("^[0-9]+\\z"));
        bool ok = false;
        const int month = number.match(expected).hasMatch() ? expected.toInt(&ok) : 0;
        if (ok && month >= 1 && month <= 12)
            expected = QLocale(QLocale::Greek).standaloneMonthName(month, QLocale::LongFormat);
    }
    Fuzz::require(shownText == expected, "a value reads back as its own text",
                  Fuzz::shown(value) + QStringLiteral(" read back as ") + Fuzz::shown(shownText));
    return 0;
}
