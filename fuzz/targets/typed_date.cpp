#include "FuzzTargets.h"
#include "Property.h"

#include "data/Clock.h"
#include "data/Global.h"
#include "data/Values.h"

// A typed date: the first two bytes choose the current year. What is read must have the
// typed day and month, write back as text that reads the same, and the field reader must
// agree with it.
int FuzzTargets::typedDate(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    if (size < 2)
        return 0;
    const int currentYear = 1900 + (data[0] << 8 | data[1]) % 300;
    const QString typed = Fuzz::text(data + 2, size - 2);
    const auto d = Global::ParseTypedDate(typed, currentYear);

    Clock::setFixedForTesting(QDate(currentYear, 6, 15));
    bool refused = false;
    QVariant field;
    try {
        field = Values::fromText(FieldType::Date, typed);
    } catch (const InputError& e) {
        refused = true;
        Fuzz::require(e.message().contains(typed), "a refused date is named in its message",
                      Fuzz::shown(typed));
    }
    Clock::reset();
    const QString detail = Fuzz::shown(typed) + QStringLiteral(" in %1").arg(currentYear);
    if (typed.trimmed().isEmpty()) {
        Fuzz::require(!refused && field.isNull(), "a blank date is an empty field", detail);
        return 0;
    }
    Fuzz::require(refused == !d.has_value(), "the field reader and the date reader agree", detail);
    if (!d)
        return 0;
    Fuzz::require(field.toDate() == *d, "the field holds the date read", detail);
    Fuzz::require(d->isValid() && d->year() >= 1 && d->year() <= 9999,
                  "a read date is a valid day of years 1 to 9999", detail);

    // Day and month are the numbers typed, read here digit by digit.
    const QStringList parts = typed.trimmed().split(u'/');
    auto number = [](const QString& part) {
        int v = 0;
        for (QChar c : part.trimmed())
            v = v * 10 + (c.unicode() - u'0');
        return v;
    };
    Fuzz::require(number(parts.value(0)) == d->day() && number(parts.value(1)) == d->month(),
                  "the day and month are the ones typed",
                  detail + QStringLiteral(" read as ") + d->toString(Qt::ISODate));
    if (parts.size() == 2)
        Fuzz::require(d->year() == currentYear, "a date without a year is of the current year",
                      detail);
    else if (parts.at(2).trimmed().size() <= 2)
        Fuzz::require(d->year() >= currentYear - 50 && d->year() < currentYear + 50,
                      "a short year falls within 50 years of now",
                      detail + QStringLiteral(" read as ") + d->toString(Qt::ISODate));

    // The date as the program shows it reads back as itself.
    const QString written = Values::displayText(FieldType::Date, Values::isoFromDate(*d));
    Fuzz::require(Global::ParseTypedDate(written, currentYear) == d,
                  "a shown date reads back as itself",
                  detail + QStringLiteral(" shown as ") + Fuzz::shown(written));
    return 0;
}
