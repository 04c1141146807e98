#pragma once

#include <QString>

#include <stdexcept>
#include <string>

// What the data store's errors mean to the person at the desk: a Greek sentence that says
// what happened and what to do, with the store's own text on a second line for support.
namespace StoreError {

enum class Kind {
    Busy,           // another program holds the file
    Full,           // no room left on the disk
    ReadOnly,       // the file may not be written
    FolderReadOnly, // the folder takes no journal beside the file
    CannotOpen,     // the file, its folder or its journal cannot be opened
    Damaged,        // the file's contents are not sound
    ChangedOutside, // another program wrote the file while this one had it open
    Io,             // any other failure of the disk
    Refused,        // a key, a rule or a trigger of the file refused the change
    Statement,      // the store could not run a statement
    Closed,         // the connection was not open
    Other,
};

// The kind of a store result code (extended or primary).
Kind kindOf(int code);

// The one exception a store throws: what kind of failure, the backend's own code (extended
// where it has one) and its own text, which what() returns.
class Failure : public std::runtime_error {
public:
    Failure(Kind kind, int code, const std::string& text)
        : std::runtime_error(text), m_kind(kind), m_code(code) {}
    Kind kind() const { return m_kind; }
    int code() const { return m_code; }
    QString text() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
    int m_code;
};

// A failure of the SQLite store from its result code: the kind read as kindOf() does, a stale
// page of a file another program wrote telling ChangedOutside from damage.
Failure failureOf(int code, const std::string& text);

// The Greek sentence for a kind.
QString sentence(Kind kind);

// The sentence, a line break and the store's own text.
QString describe(int code, const QString& storeText);

// The text a person sees for an exception: the program's own (UserError) as it is; store
// errors as above; anything else as one fixed sentence, its details logged.
QString forPerson(const std::exception& e);

} // namespace StoreError
