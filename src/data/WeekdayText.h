#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The Greek names of the days of the week, for lists and printouts that show a date with
// its day.
namespace WeekdayText {

// 1 = Monday ... 7 = Sunday, as QDate counts them.
inline QString name(int dayOfWeek) {
    static const QStringList names = {QStringLiteral("Δευτέρα"),   QStringLiteral("Τρίτη"),
                                      QStringLiteral("Τετάρτη"),   QStringLiteral("Πέμπτη"),
                                      QStringLiteral("Παρασκευή"), QStringLiteral("Σάββατο"),
                                      QStringLiteral("Κυριακή")};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? names.at(dayOfWeek - 1) : QString();
}

inline QString of(const QDate& date) {
    return date.isValid() ? name(date.dayOfWeek()) : QString();
}

// A statement's expression naming the day of an ISO date column or expression; empty for a
// value that is no date.
inline QString sql(const QString& isoDate) {
    QString text =
        QStringLiteral("CASE CAST(strftime('%w', ") + isoDate + QStringLiteral(") AS INTEGER)");
    // strftime counts from Sunday = 0.
    for (int w = 0; w < 7; ++w)
        text += QStringLiteral(" WHEN %1 THEN '%2'").arg(w).arg(name(w == 0 ? 7 : w));
    return text + QStringLiteral(" END");
}

} // namespace WeekdayText
