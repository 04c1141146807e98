#pragma once

#include "data/Values.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <optional>

// An amount as grids and fields show it, with fixed decimals ("62,50", "800,00"), as the
// statements' Format(x,'0.00') shows it; nothing for a value that is not a number.
inline std::optional<QString> amountText(const QVariant& value, int decimals) {
    if (decimals < 0 || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return Values::fixedText(value.toDouble(), decimals);
    default:
        return std::nullopt;
    }
}
