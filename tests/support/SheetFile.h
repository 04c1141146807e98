#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A spreadsheet file read back by other programs than ours, cell by cell, the way a
// spreadsheet takes it.
struct SheetCell {
    QString kind;   // "text", "number", "date", "empty" (or "formula", "bool")
    QString value;  // the text, the number as Python writes it ("45.5"), the day as 2026-12-01
    QString format; // the number format (xlsx), or the text shown (ods)
    bool bold = false;
};

struct SheetFile {
    QStringList sheets;
    QString title;        // the document's title
    QString frozen;       // the first cell below and right of the frozen panes ("A2")
    QList<double> widths; // of the columns, in characters
    int formulas = -1;    // formulas stored in the sheet's XML
    QList<QList<SheetCell>> rows;

    SheetCell at(int row, int column) const { return rows.value(row).value(column); }
    // Every cell, rows joined by ";" and cells by "|": a number after "#", a date after "@",
    // text as it is, and "*" before a bold cell ("*Σύνολο||*#45|@2007-03-01").
    QString text() const;
};

// An .xlsx file as Debian's python3-openpyxl reads it. Throws when it cannot.
SheetFile readXlsx(const QString& path);
// An .ods file (what LibreOffice Calc made of a file) from its own XML. Throws when it cannot.
SheetFile readOds(const QString& path);
