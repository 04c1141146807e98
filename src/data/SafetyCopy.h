#pragma once

#include <QDate>
#include <QString>

// The daily safety copy of the data file, written whenever the program ends normally: a
// consistent copy taken with the store's online backup into the folder "Αντίγραφα" beside
// the file, named data-YYYY-MM-DD.mdb, one a day (the day's last end), the newest 30 kept.
namespace SafetyCopy {

inline constexpr int kKept = 30;

// The folder of the copies of a data file.
QString folderFor(const QString& dataFile);

// Writes today's copy, in place of one written earlier today, then removes all but the
// newest kept.
// Returns an empty text, or what the desk is told when no copy could be made.
QString writeDaily(const QString& dataFile, const QDate& today, int kept = kKept);

} // namespace SafetyCopy
