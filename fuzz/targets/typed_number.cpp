#include "FuzzTargets.h"
#include "Property.h"

#include "data/Money.h"
#include "data/Values.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>
#include <string>

// A typed number of a field: what is accepted is a finite number, the same one the receipt's
// amount reader gives for the same text, and its shown text reads back to the same shown text.
int FuzzTargets::typedNumber(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    const QString typed = Fuzz::text(data, size);
    const QString detail = Fuzz::shown(typed);

    double value = 0;
    const bool accepted = Values::parseNumber(typed, &value);
    bool refused = false;
    QVariant field;
    try {
        field = Values::fromText(FieldType::Double, typed);
    } catch (const InputError& e) {
        refused = true;
        Fuzz::require(e.message().contains(typed), "a refused number is named in its message",
                      detail);
    }
    if (typed.trimmed().isEmpty()) {
        Fuzz::require(!refused && field.isNull(), "a blank number is an empty field", detail);
        return 0;
    }
    Fuzz::require(accepted != refused, "the field reader and the number reader agree", detail);

    const auto amount = Money::parseTyped(typed.trimmed());
    if (!accepted) {
        // Only a number out of a double's range may be refused here and read by the other
        // (as infinity, or as 0 for one too small).
        const bool outOfRange =
            amount &&
            (!std::isfinite(*amount) ||
             (*amount == 0 && typed.contains(QRegularExpression(QStringLiteral("^[^eE]*[1-9]")))));
        Fuzz::require(!amount || outOfRange, "a number both readers accept",
                      detail + QStringLiteral(" is refused, the amount reader gives %1")
                                   .arg(amount.value_or(0), 0, 'g', 17));
        return 0;
    }
    Fuzz::require(std::isfinite(value), "an accepted number is finite", detail);
    Fuzz::require(field.toDouble() == value, "the field holds the number read", detail);
    Fuzz::require(amount && *amount == value, "both readers give the same number",
                  detail + QStringLiteral(": %1 and %2")
                               .arg(value, 0, 'g', 17)
                               .arg(amount.value_or(NAN), 0, 'g', 17));

    // The nearest double: the C library's reading of the same digits with a point.
    const std::string c = Fuzz::withPoint(typed.trimmed());
    Fuzz::require(std::strtod(c.c_str(), nullptr) == value, "the number read is the nearest",
                  detail + QStringLiteral(": %1").arg(value, 0, 'g', 17));

    const QString shown = Values::numberText(value);
    double again = 0;
    Fuzz::require(Values::parseNumber(shown, &again) && Values::numberText(again) == shown,
                  "a shown number reads back as itself",
                  detail + QStringLiteral(" shown as ") + Fuzz::shown(shown));
    const QString fixed = Values::fixedText(value, 2);
    Fuzz::require(
        Values::parseNumber(fixed, &again) &&
            (std::abs(value) > 1e15 || std::abs(again - value) <= 0.005 + 1e-9 * std::abs(value)),
        "a number to two decimals reads back within half a cent",
        detail + QStringLiteral(" as ") + Fuzz::shown(fixed));
    return 0;
}
