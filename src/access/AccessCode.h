#pragma once

#include <QString>
#include <Qt>

class Command;
class DataSet;
class QLineEdit;

// What the three access-code screens share.
namespace AccessCode {

// The width of SECURITY.PASSWORD.
inline constexpr int kMaxLength = 50;

// A code field shows "*" for every character typed.
void prepareCodeField(QLineEdit* edit);

// Flags of a fixed dialog whose title bar has no buttons at all.
Qt::WindowFlags captionWithoutButtons();

// The stored code: the first column of the first row, trimmed; empty when there is no row.
QString firstColumnOfFirstRow(const DataSet& table);

// "UPDATE SECURITY SET [PASSWORD]='<code>'" for a code that has passed IsCleanText.
QString updateStatement(const QString& code);

// Stores a new code through the command. A file whose SECURITY has lost its row gets the row
// back, so that success is never reported for a code that was not stored.
void store(Command& command, const QString& code);

} // namespace AccessCode
