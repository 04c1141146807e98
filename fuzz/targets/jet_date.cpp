#include "FuzzTargets.h"
#include "Property.h"

#include "data/Clock.h"
#include "data/Global.h"
#include "data/JetDialect.h"
#include "data/Values.h"

#include <QStringList>

#include <stdexcept>

// The first two bytes choose the current year, the rest is the typed date. The literal of a
// date must be read by the store as that same date; anything else must be "ERROR".
int FuzzTargets::jetDate(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    if (size < 2)
        return 0;
    const int currentYear = 1900 + (data[0] << 8 | data[1]) % 300;
    const QString typed = Fuzz::text(data + 2, size - 2);
    Clock::setFixedForTesting(QDate(currentYear, 6, 15));
    QString literal = typed;
    Global::ToJetDate(literal);
    const auto expected = Global::ParseTypedDate(typed, currentYear);
    Clock::reset();
    const QString detail =
        Fuzz::shown(typed) + QStringLiteral(" in %1 gave ").arg(currentYear) + Fuzz::shown(literal);
    if (!expected) {
        Fuzz::require(literal == u"ERROR", "a text that names no date gives ERROR", detail);
        return 0;
    }
    Fuzz::require(literal.startsWith(u'#') && literal.endsWith(u'#') && literal.size() > 2,
                  "a date gives a #...# literal", detail);
    QString sql;
    try {
        sql = JetDialect::translate(QStringLiteral("SELECT ") + literal +
                                    QStringLiteral(", date(") + literal + QStringLiteral(")"));
    } catch (const std::runtime_error& e) {
        Fuzz::fail("the literal of a date is one the dialect reads",
                   detail + QStringLiteral(": ") + QString::fromUtf8(e.what()));
    }
    QStringList row;
    QString error;
    Fuzz::require(Fuzz::selectRow(sql, &row, &error), "the store reads the literal of a date",
                  detail + QStringLiteral(": ") + error);
    const QDate stored = Values::dateFromIso(row.value(0));
    Fuzz::require(stored == *expected, "the literal reads back as the typed date",
                  detail + QStringLiteral(" read as ") + Fuzz::shown(row.value(0)));
    // The store's own date function must see the same day, not a text it cannot read.
    Fuzz::require(row.value(1) == row.value(0), "the store's date function reads the literal",
                  detail + QStringLiteral(": date() gave ") + Fuzz::shown(row.value(1)));
    return 0;
}
