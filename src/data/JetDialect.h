#pragma once

#include <QString>

struct sqlite3;

// Lets statements written for Jet run on the store unchanged: #m/d/yyyy# literals and
// double-quoted strings are rewritten; Format, DAY, MONTH, YEAR, Greek-aware LIKE and
// NOCASE are installed as functions of the connection. [names], TRUE and FALSE are native.
namespace JetDialect {

// Rewrites one statement's text. Throws UserError on a malformed date literal.
QString translate(const QString& jetSql);

// Registers the functions and collation on a freshly opened handle.
void install(sqlite3* db);

} // namespace JetDialect
