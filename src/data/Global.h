#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Program-wide values and the two input checks that stand between typed text and SQL.
namespace Global {

inline QString AppDirectory;
inline QString DatabasePassword;
inline QString ConnectionString;
inline bool AccessGranted = false;
inline bool NumberingLocked = false;

// The appointment book's selection and the literal of the day it opened last.
inline int CalendarYear = 0;
inline int CalendarMonth = 0;
inline int CalendarDay = 0;
inline QString OpenDayLiteral;

// True when the text holds none of the 31 ASCII punctuation characters (all but "/")
// that could break or alter a statement, nor a NUL, which would end the statement's text
// there. The empty text passes.
bool IsCleanText(const QString& text);

// A text as a statement's literal: between single quotes, its own quotes doubled, so that
// no text can end the literal early; a NUL, which would end the statement, joined on.
QString QuotedText(const QString& text);

// True for a plain whole number of 1 to 18 digits, without sign or blanks: the only text
// that may go into a statement unquoted as a number.
bool IsWholeNumber(const QString& text);

// Replaces a typed day/month/year date with its Jet literal "#m/d/yyyy#", or with
// "ERROR" when the text names no date.
void ToJetDate(QString& text);

// Reads a date typed the Greek way: day/month/year with "/" (or day/month of the current
// year). A year of one or two digits is widened by a 50-year window around the current year.
std::optional<QDate> ParseTypedDate(const QString& text, int currentYear);

// The current year as the checks see it: the program's clock.
int CurrentYear();

} // namespace Global
