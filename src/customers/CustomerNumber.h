#pragma once

#include <QString>

#include <stdexcept>

// The customer's number as handed over; it goes into statements as it is, so anything but a
// whole number is refused before a statement is built.
inline qlonglong customerNumber(const QString& customerId) {
    bool isNumber = false;
    const qlonglong n = customerId.toLongLong(&isNumber);
    if (!isNumber)
        throw std::runtime_error(
            QStringLiteral("Λανθασμένος αριθμός πελάτη: \"%1\".").arg(customerId).toStdString());
    return n;
}
