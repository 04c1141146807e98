#include "FuzzTargets.h"
#include "Property.h"

#include "data/Money.h"

#include <QStringList>

#include <cmath>
#include <cstdlib>
#include <string>

// A typed amount of a receipt: the nearest double, written into statements as a number the
// store reads back to the same written text, and a receipt worked from it either acceptable
// with finite values or refused.
int FuzzTargets::moneyAmount(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    const QString typed = Fuzz::text(data, size);
    const QString detail = Fuzz::shown(typed);
    const auto amount = Money::parseTyped(typed);
    if (!amount)
        return 0;
    const double v = *amount;
    Fuzz::require(!std::isnan(v), "an amount read is a number", detail);

    const std::string c = Fuzz::withPoint(typed);
    char* end = nullptr;
    const double nearest = std::strtod(c.c_str(), &end);
    Fuzz::require(end == c.c_str() + c.size(), "an amount read has the shape of a number", detail);
    Fuzz::require(nearest == v || (std::isinf(nearest) && std::isinf(v)),
                  "an amount read is the nearest double",
                  detail +
                      QStringLiteral(": %1, not %2").arg(v, 0, 'g', 17).arg(nearest, 0, 'g', 17));
    if (!std::isfinite(v)) {
        Fuzz::require(Money::statementText(v).isEmpty(), "an infinite amount has no statement text",
                      detail);
        return 0;
    }

    const QString written = Money::statementText(v);
    QStringList row;
    QString error;
    Fuzz::require(Fuzz::selectRow(QStringLiteral("SELECT ") + written + QStringLiteral(" + 0.0"),
                                  &row, &error),
                  "the store reads a written amount", Fuzz::shown(written) + u' ' + error);
    const auto stored = Money::parseTyped(QString(row.value(0)).replace(u'.', u','));
    Fuzz::require(stored && Money::statementText(*stored) == written,
                  "a written amount reads back as itself",
                  Fuzz::shown(written) + QStringLiteral(" read as ") + Fuzz::shown(row.value(0)));

    const Money::Receipt r = Money::work(v, 19);
    if (r.isAcceptable()) {
        const double values[] = {r.amount, r.pounds, r.vat, r.total};
        for (double x : values)
            Fuzz::require(!Money::statementText(x).isEmpty(),
                          "every value of an acceptable receipt is written", detail);
        Fuzz::require(r.vat >= 0 && r.pounds >= 0 && r.total >= r.amount,
                      "a receipt's VAT and pounds are not negative", detail);
    }
    return 0;
}
