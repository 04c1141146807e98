#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Rows of values, as a grid shows them, laid out for other programs: a CSV file that a
// spreadsheet in Greek settings opens correctly at first try, and clipboard text that pastes
// into a spreadsheet one value to a cell.
namespace TableText {

using Rows = QList<QStringList>;

// UTF-8 with a byte order mark, ";" between fields, CR LF after every row. A field holding
// ";", a quote or a line break is quoted, its quotes doubled.
QByteArray csv(const Rows& rows);

// Tab between fields, a line break after every row; a field holding a tab, a quote or a line
// break is quoted, its quotes doubled, as spreadsheets copy and paste such cells.
QString tabSeparated(const Rows& rows);

// The same rows as an HTML table, which spreadsheets paste without asking for separators;
// with a header, the first row is the table's heading.
QString htmlTable(const Rows& rows, bool header);

// A value that a spreadsheet would take for a formula (it begins with "=", "+", "-" or "@"
// and is not a number) gets a leading apostrophe, so that opening the list runs nothing.
QString inert(const QString& value);

} // namespace TableText
