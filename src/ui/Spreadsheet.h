#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A list written as an Excel workbook (.xlsx) of one sheet, so that a spreadsheet opens it
// with typed cells whatever its language settings: amounts as numbers in euro with two
// decimals, dates as dates shown d/m/yyyy, counts as whole numbers, everything else as text
// (never a formula). Values come in as the program shows them ("45,50", "1/12/2026").
namespace Spreadsheet {

enum class Kind {
    Text,   // as it is, even when it is all digits (a phone number, a code)
    Amount, // "45,50": a number in euro with two decimals
    Date,   // "1/12/2026": a date
    Count,  // "12": a whole number
    Number, // "12,5": a number as stored
};

struct Cell {
    QString text;
    Kind kind = Kind::Text;
};

struct Sheet {
    QString name; // the sheet's tab and the document's title, made fit by sheetName()
    QStringList titles;
    QList<Kind> kinds; // one for each title
    QList<QStringList> rows;
    // Shown in bold under the rows, an empty row between, so that sorting or filtering the
    // list in a spreadsheet leaves them out.
    QList<QList<Cell>> totals;
};

// Replaces the file with the sheet: the titles a bold row that stays in view, the columns as
// wide as their values. A value of a typed column that does not read as its kind is kept as
// text. The file is written whole or not at all; a failure throws with a Greek message that
// says why.
void write(const QString& path, const Sheet& sheet);

// A sheet name made of free text: at most 31 characters, cut at a word, without the
// characters that spreadsheets refuse there ([ ] : * ? and / \, which become "-", so that a
// date reads 1-3-2007); "Φύλλο" when nothing is left.
QString sheetName(const QString& text);

} // namespace Spreadsheet
