#include "Global.h"

#include "Clock.h"

#include <QStringList>

#include <algorithm>

namespace Global {

namespace {
// Tested in this order; "*" stands twice, so 32 entries name 31 characters.
constexpr const char* kForbidden[] = {"'", "\"", "&", "*", "-",  "=", "!", "#", "$", "[", "]",
                                      "?", "%",  "+", "*", "\\", "|", "@", "_", "~", "`", "(",
                                      ")", "{",  "}", "<", ">",  ".", ";", "^", ":", ","};

std::optional<int> readNumber(const QString& part) {
    const QString p = part.trimmed();
    if (p.isEmpty() || p.size() > 4)
        return std::nullopt;
    for (QChar c : p)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return p.toInt();
}
} // namespace

QString QuotedText(const QString& text) {
    const QString quoted = QLatin1Char('\'') +
                           QString(text)
                               .replace(u'\'', QLatin1String("''"))
                               // A NUL would end the statement's text: it is joined on.
                               .replace(QChar(0), QLatin1String("'||char(0)||'")) +
                           QLatin1Char('\'');
    return text.contains(QChar(0)) ? QLatin1Char('(') + quoted + QLatin1Char(')') : quoted;
}

bool IsWholeNumber(const QString& text) {
    return !text.isEmpty() && text.size() <= 18 &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsCleanText(const QString& text) {
    for (QChar c : text) {
        if (c.isNull())
            return false;
        const QString one(c);
        for (const char* f : kForbidden)
            if (one == QLatin1String(f))
                return false;
    }
    return true;
}

int CurrentYear() {
    return Clock::today().year();
}

std::optional<QDate> ParseTypedDate(const QString& text, int currentYear) {
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    const auto day = readNumber(parts[0]);
    const auto month = readNumber(parts[1]);
    if (!day || !month)
        return std::nullopt;
    int year = currentYear;
    if (parts.size() == 3) {
        const auto y = readNumber(parts[2]);
        if (!y)
            return std::nullopt;
        year = *y;
        if (parts[2].trimmed().size() <= 2) {
            // Two-digit years fall within the 50 years either side of now.
            const int pivot = currentYear - 50;
            year += pivot / 100 * 100;
            if (year < pivot)
                year += 100;
        }
    }
    if (year < 1 || year > 9999)
        return std::nullopt;
    const QDate d(year, *month, *day);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

void ToJetDate(QString& text) {
    const auto d = ParseTypedDate(text, CurrentYear());
    if (!d) {
        text = QStringLiteral("ERROR");
        return;
    }
    text = QStringLiteral("#%1/%2/%3#").arg(d->month()).arg(d->day()).arg(d->year());
}

} // namespace Global
