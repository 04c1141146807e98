#include "data/Money.h"

#include "data/Global.h"
#include "data/Values.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

// Cents must not depend on how the program was compiled.
#if defined(__FAST_MATH__)
#error "the receipt arithmetic needs IEEE semantics: build it without -ffast-math"
#endif
static_assert(std::numeric_limits<long double>::digits == 64,
              "the receipt arithmetic needs an extended type with a 64-bit significand");
static_assert(std::numeric_limits<double>::digits == 53);

namespace Money {

namespace {

// The decimal number of a text such as "-12,5e3" with the given separator, as the digits
// std::from_chars reads; empty when the text has another shape.
std::string plainNumber(const QString& text, QChar separator, bool* negative, long* magnitude) {
    std::string out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    *negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        *negative = text[i++] == u'-';
    int digits = 0;
    long integerDigits = 0; // significant digits before the separator
    bool seenSeparator = false;
    bool seenNonZero = false;
    long leadingFractionZeros = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (c != u'0')
                seenNonZero = true;
            if (!seenSeparator && seenNonZero)
                ++integerDigits;
            if (seenSeparator && !seenNonZero)
                ++leadingFractionZeros;
            out += char(c.unicode());
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
            out += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return {};
    long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        out += 'e';
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            expNegative = text[i] == u'-';
            out += char(text[i++].unicode());
        }
        const qsizetype start = i;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            out += char(text[i].unicode());
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
        }
        if (i == start)
            return {};
        if (expNegative)
            exponent = -exponent;
    }
    if (i != n)
        return {};
    // Where the leading digit stands, for telling an overflow from an underflow.
    *magnitude = seenNonZero
                     ? (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent
                     : std::numeric_limits<long>::min();
    return out;
}

std::optional<double> parseWith(const QString& text, QChar separator) {
    bool negative = false;
    long magnitude = 0;
    const std::string digits = plainNumber(text, separator, &negative, &magnitude);
    if (digits.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    else if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return negative ? -value : value;
}

// The double 0.01 widened exactly: a little above one hundredth.
const long double kCent = static_cast<long double>(0.01);

} // namespace

std::optional<double> parseTyped(const QString& text) {
    return parseWith(text, u',');
}

double roundToCents(double value) {
    const long double quotient = static_cast<long double>(value) / kCent;
    const long double whole = roundevenl(quotient);
    return static_cast<double>(whole * kCent);
}

double cyprusPounds(double amount) {
    return roundToCents(static_cast<double>(static_cast<long double>(amount) * kPoundsPerEuro));
}

double vat(double amount, double ratePercent) {
    const long double product =
        static_cast<long double>(amount) * static_cast<long double>(ratePercent);
    return roundToCents(static_cast<double>(product / 100.0L));
}

double total(double vat, double amount) {
    const std::optional<double> written = parseWith(statementText(vat), u'.');
    if (!written)
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(static_cast<long double>(*written) +
                               static_cast<long double>(amount));
}

QString statementText(double value) {
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    // 15 digits rounded up near the largest double would be read back as infinity.
    if (std::abs(value) > Values::kLargestWritten)
        value = std::copysign(Values::kLargestWritten, value);
    char buf[64];
    // d.dddddddddddddde±x: the 15 significant digits, correctly rounded, in any locale.
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const QString s = QString::fromLatin1(buf, res.ptr - buf);
    const bool negative = s.front() == u'-';
    const qsizetype first = negative ? 1 : 0;
    const qsizetype e = s.indexOf(u'e');
    QString digits = s.mid(first, 1) + s.mid(first + 2, e - first - 2);
    const int exponent = s.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.back() == u'0')
        digits.chop(1);

    QString out = negative ? QStringLiteral("-") : QString();
    if (exponent < -5 || exponent >= 15) {
        out += digits.front();
        if (digits.size() > 1)
            out += QLatin1Char('.') + digits.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent >= 0) {
        const qsizetype integerDigits = exponent + 1;
        if (digits.size() <= integerDigits)
            out += digits.leftJustified(integerDigits, u'0');
        else
            out += digits.left(integerDigits) + QLatin1Char('.') + digits.mid(integerDigits);
    } else {
        out += QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    }
    return out;
}

bool Receipt::isAcceptable() const {
    if (!(std::isfinite(amount) && amount > 0 && std::isfinite(pounds) && std::isfinite(vat) &&
          std::isfinite(total)))
        return false;
    const double cents = roundToCents(total);
    return cents > 0 && cents <= kLargestTotal;
}

Receipt work(double amount, double ratePercent) {
    Receipt r;
    r.amount = amount;
    r.pounds = cyprusPounds(amount);
    r.vat = vat(amount, ratePercent);
    r.total = total(r.vat, amount);
    return r;
}

QString Entry::payer() const {
    return name.trimmed() + QLatin1Char(' ') + surname.trimmed();
}

QString collectionInsert(const Entry& e, const Receipt& r) {
    const QStringList values = {e.customerId,
                                statementText(r.amount),
                                Global::QuotedText(e.description),
                                Global::QuotedText(e.fund),
                                statementText(r.pounds),
                                e.number,
                                statementText(r.vat),
                                statementText(r.total)};
    return QStringLiteral("INSERT INTO EISPRAKSH_PELATH(ID,POSO,PERIGRAFH,TAMEIO,POSO_CY,"
                          "AR_APODEIKSHS,VAT,SYNOLIKO_POSO) VALUES(") +
           values.join(u',') + QLatin1Char(')');
}

QString receiptInsert(const Entry& e, const Receipt& r) {
    const QStringList values = {e.number,
                                Global::QuotedText(e.name),
                                Global::QuotedText(e.surname),
                                Global::QuotedText(e.payer()),
                                statementText(r.amount),
                                Global::QuotedText(e.fund),
                                statementText(r.pounds),
                                Global::QuotedText(e.description),
                                statementText(r.vat),
                                statementText(r.total)};
    return QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,"
                          "TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO) VALUES(") +
           values.join(u',') + QLatin1Char(')');
}

} // namespace Money
