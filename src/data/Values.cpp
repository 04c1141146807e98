#include "Values.h"

#include "Global.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace Values {

FieldType typeFromDeclaration(const QString& declared, int* size) {
    if (size)
        *size = 0;
    const QString d = declared.trimmed().toUpper();
    if (d.isEmpty())
        return FieldType::Unknown;
    if (d.startsWith(u"VARCHAR") || d.startsWith(u"CHAR") || d.startsWith(u"NVARCHAR")) {
        static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
        const auto m = width.match(d);
        if (size && m.hasMatch())
            *size = m.captured(1).toInt();
        return FieldType::Text;
    }
    if (d == u"TEXT" || d == u"MEMO" || d == u"CLOB")
        return FieldType::Memo;
    if (d.startsWith(u"DATE"))
        return FieldType::Date;
    if (d == u"BOOLEAN" || d == u"BOOL" || d == u"BIT")
        return FieldType::Boolean;
    if (d.contains(u"INT"))
        return FieldType::Integer;
    if (d == u"DOUBLE" || d == u"REAL" || d == u"FLOAT" || d.startsWith(u"NUMERIC") ||
        d.startsWith(u"DECIMAL") || d == u"CURRENCY")
        return FieldType::Double;
    return FieldType::Text;
}

QDate dateFromIso(QStringView t) {
    if (t.size() < 10 || t[4] != u'-' || t[7] != u'-')
        return {};
    auto num = [&](int from, int len) {
        int v = 0;
        for (int i = from; i < from + len; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c - u'0');
        }
        return v;
    };
    const int y = num(0, 4), m = num(5, 2), d = num(8, 2);
    if (y < 0 || m < 0 || d < 0)
        return {};
    return QDate(y, m, d);
}

QString isoFromDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString numberText(double value) {
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (std::abs(value) > kLargestWritten)
        value = std::copysign(kLargestWritten, value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    QString s = QString::fromLatin1(buf);
    if (s.contains(u'E')) {
        // 1E-06 -> 1E-6, the way a general format writes exponents.
        static const QRegularExpression exp(QStringLiteral("E([+-]?)0*(\\d)"));
        s.replace(exp, QStringLiteral("E\\1\\2"));
        s.replace(QStringLiteral("E+"), QStringLiteral("E"));
    }
    s.replace(u'.', u',');
    return s;
}

QString fixedText(double value, int decimals) {
    // Round the shortest decimal form, so 2.675 (stored as 2.67499999...) gives 2,68.
    if (std::abs(value) > kLargestWritten)
        value = std::copysign(kLargestWritten, value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    const double clean = std::strtod(buf, nullptr);
    const double scale = std::pow(10.0, decimals);
    // Past 2^53 a double has no fraction to round, and scaling could overflow.
    double r = std::abs(clean) < 9007199254740992.0 ? std::round(clean * scale) / scale : clean;
    if (r == 0)
        r = 0; // no "-0,00"
    QString s = QString::number(r, 'f', decimals);
    s.replace(u'.', u',');
    return s;
}

bool parseNumber(const QString& text, double* value) {
    static const QRegularExpression form(
        QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch())
        return false;
    QString c = t;
    c.replace(u',', u'.');
    bool ok = false;
    const double v = c.toDouble(&ok);
    if (ok && value)
        *value = v;
    return ok;
}

QString displayText(FieldType type, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Date: {
        QDate d =
            value.typeId() == QMetaType::QDate ? value.toDate() : dateFromIso(value.toString());
        return d.isValid() ? d.toString(QStringLiteral("d/M/yyyy")) : value.toString();
    }
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Double:
        return value.typeId() == QMetaType::QString ? value.toString()
                                                    : numberText(value.toDouble());
    default:
        if (value.typeId() == QMetaType::Double)
            return numberText(value.toDouble());
        return value.toString();
    }
}

QVariant fromText(FieldType type, const QString& text, int size) {
    const QString t = text.trimmed();
    switch (type) {
    case FieldType::Date: {
        if (t.isEmpty())
            return {};
        const auto d = Global::ParseTypedDate(t, Global::CurrentYear());
        if (!d)
            throw InputError(QStringLiteral("Η τιμή \"%1\" δεν είναι έγκυρη ημερομηνία. "
                                            "Γράψτε την ως ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/12/2007).")
                                 .arg(text));
        return *d;
    }
    case FieldType::Double: {
        if (t.isEmpty())
            return {};
        double v = 0;
        if (!parseNumber(t, &v))
            throw InputError(QStringLiteral("Η τιμή \"%1\" δεν είναι έγκυρος αριθμός. "
                                            "Γράψτε τον με κόμμα για δεκαδικά (π.χ 12,50).")
                                 .arg(text));
        return v;
    }
    case FieldType::Integer:
    case FieldType::AutoInc: {
        if (t.isEmpty())
            return {};
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok);
        if (!ok)
            throw InputError(
                QStringLiteral("Η τιμή \"%1\" δεν είναι έγκυρος ακέραιος αριθμός.").arg(text));
        return v;
    }
    case FieldType::Boolean: {
        if (t.isEmpty())
            return {};
        const QString l = t.toLower();
        if (l == u"true" || l == u"ναι" || l == u"1")
            return true;
        if (l == u"false" || l == u"όχι" || l == u"οχι" || l == u"0")
            return false;
        throw InputError(QStringLiteral("Η τιμή \"%1\" δεν είναι Ναι ή Όχι.").arg(text));
    }
    default:
        if (text.isEmpty())
            return {};
        if (size > 0 && text.size() > size)
            throw InputError(
                QStringLiteral("Το κείμενο είναι μεγαλύτερο από %1 χαρακτήρες.").arg(size));
        return text;
    }
}

QVariant toStorage(FieldType type, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Date:
        if (value.typeId() == QMetaType::QDate)
            return isoFromDate(value.toDate());
        if (value.typeId() == QMetaType::QDateTime)
            return isoFromDate(value.toDateTime().date());
        return value.toString();
    case FieldType::Boolean:
        return qlonglong(value.toBool() ? 1 : 0);
    case FieldType::Double:
        return value.toDouble();
    case FieldType::Integer:
    case FieldType::AutoInc:
        return value.toLongLong();
    default:
        return value.toString();
    }
}

} // namespace Values
