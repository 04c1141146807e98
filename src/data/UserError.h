#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

// An error meant for the person at the desk: a Greek sentence that says what happened and
// what to do, shown as it is. Anything else thrown is a fault of the program and is shown as
// one fixed sentence, its details only in the log.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& sentence);
    // Kept whole: what() would end at a NUL that typed text brought in.
    QString sentence() const { return m_sentence; }

private:
    QString m_sentence;
};

namespace UserErrors {

// What a person is shown for a fault not meant for them.
QString unexpectedText();

// Logs an exception that is no UserError (its type and text) and returns unexpectedText().
QString unexpected(const std::exception& e);
// The same for something thrown that is not even a std::exception.
QString unexpected();

} // namespace UserErrors
