#pragma once

#include "data/Global.h"
#include "data/UserError.h"

#include <QString>

#include <stdexcept>

// The customer's number as handed over; it goes into statements as it is, so anything but a
// whole number is refused before a statement is built.
inline qlonglong customerNumber(const QString& customerId) {
    if (!Global::IsWholeNumber(customerId))
        throw UserError(QStringLiteral("Λανθασμένος αριθμός πελάτη: \"%1\".").arg(customerId));
    return customerId.toLongLong();
}
