#pragma once

#include <QDate>
#include <QString>

// The appointment book's rows as the statements see them: one row a day, 28 half-hour slots
// from 08:00 to 22:00, each a column of free text. Shared by the book's screens and by the
// customer screens that search it.
namespace AppointmentBook {

constexpr int kSlots = 28;

// Slot k (1-28) starts at 08:00 plus 30·(k−1) minutes.
QString slotCaption(int k); // "08:00 - 08:30"
QString slotColumn(int k);  // "0800-0830"
// The slot number of a column name; 0 for none.
int slotOfColumn(const QString& column);

// The slots whose text holds `text` anywhere, newest day and latest slot first: MERA (the
// date), HMERA (its weekday), ORA ("10:00 - 10:30"), KEIMENO (the slot's text) and SLOT
// (1-28).
QString searchSql(const QString& text);

} // namespace AppointmentBook
