#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

struct sqlite3;

namespace Fuzz {

// The input being checked, for the message of a failed property.
inline const uint8_t* currentData = nullptr;
inline size_t currentSize = 0;

struct Input {
    Input(const uint8_t* data, size_t size) {
        currentData = data;
        currentSize = size;
    }
    ~Input() { currentData = nullptr; }
};

[[noreturn]] inline void fail(const char* property, const QString& detail) {
    std::fprintf(stderr, "Property broken: %s\n  %s\n  input (%zu bytes, hex):", property,
                 detail.toUtf8().constData(), currentSize);
    for (size_t i = 0; currentData && i < currentSize; ++i)
        std::fprintf(stderr, " %02x", currentData[i]);
    std::fprintf(stderr, "\n");
    std::abort();
}

inline void require(bool holds, const char* property, const QString& detail = QString()) {
    if (!holds)
        fail(property, detail);
}

// The input as a person's typed text; bytes that are not UTF-8 become U+FFFD.
QString utf8(QByteArrayView bytes);
inline QString text(const uint8_t* data, size_t size) {
    return utf8(QByteArrayView(data, qsizetype(size)));
}

// A typed number with "." for "," and a 0 before a leading point, as the C library reads it.
std::string withPoint(const QString& typed);

// A text shown in a message: visible, with the controls escaped.
QString shown(const QString& s);

// One in-memory store with the dialect's functions, shared by the targets of a process.
sqlite3* store();

// Runs a statement of one row and gives its first columns as text; false when the store
// refuses the statement. A NULL column gives a null QString.
bool selectRow(const QString& sql, QStringList* columns, QString* error = nullptr);

} // namespace Fuzz
