#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QFile>

// A file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes bytes over a file at an offset; false when they did not all land.
inline bool overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// Where the first page of a table or index begins in a data file.
inline qint64 rootPageAt(const TestDatabase& db, const QString& name) {
    const int page =
        db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='%1'").arg(name))
            .toInt();
    return qint64(page - 1) * db.scalar(QStringLiteral("PRAGMA page_size")).toInt();
}
