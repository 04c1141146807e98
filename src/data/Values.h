#pragma once

#include "UserError.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <stdexcept>

// How stored values are shown and how typed text becomes a value, with Greek conventions
// whatever the system locale: dates d/M/yyyy, "," as the decimal separator.

enum class FieldType { Unknown, Text, Memo, Integer, AutoInc, Double, Date, Boolean };

// A typed value that does not convert; the message is meant for the user.
class InputError : public UserError {
public:
    explicit InputError(const QString& message) : UserError(message) {}
    QString message() const { return sentence(); }
};

namespace Values {

// Reads a declared column type ("VARCHAR(50)", "DATE", "DOUBLE"...) into a field type and width.
FieldType typeFromDeclaration(const QString& declared, int* size);

// Stored ISO dates ("2007-03-28", optionally followed by a time) to QDate.
QDate dateFromIso(QStringView text);
QString isoFromDate(const QDate& d);

QString displayText(FieldType type, const QVariant& value);

// The largest number whose 15 significant digits do not name a number past the largest
// double (which reads back as infinity); larger magnitudes are written as this one.
inline constexpr double kLargestWritten = 1.79769313486231e308;

// General number text with the Greek decimal comma and up to 15 significant digits: 12,5.
QString numberText(double value);
// "0.00"-style: fixed decimals, decimal comma, halves away from zero.
QString fixedText(double value, int decimals);
bool parseNumber(const QString& text, double* value);

// Converts typed text for a field; blank text is NULL. Throws InputError.
QVariant fromText(FieldType type, const QString& text, int size = 0);

// Converts any value to what the store keeps for the type (QDate to ISO text, bool to 0/1).
QVariant toStorage(FieldType type, const QVariant& value);

} // namespace Values
