#pragma once

#include <QString>

#include <exception>

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

// The Greek sentence for a kind.
QString sentence(Kind kind);

// The sentence, a line break and the store's own text.
QString describe(int code, const QString& storeText);

// The text a person sees for an exception: the program's own (UserError) as it is; store
// errors as above; anything else as one fixed sentence, its details logged.
QString forPerson(const std::exception& e);

} // namespace StoreError
