#pragma once

#include <QDate>
#include <QDateTime>

// "Today" as the program sees it: the dates it stamps, and the year two-digit years are read
// against. Tests fix it; nothing else reads the system clock.
class Clock {
public:
    static QDate today();
    static QDateTime now();

    // Fixes the clock; an invalid value returns to the system clock.
    static void setFixedForTesting(const QDateTime& moment);
    static void setFixedForTesting(const QDate& day) { setFixedForTesting(day.startOfDay()); }
    static void reset() { setFixedForTesting(QDateTime()); }
};
