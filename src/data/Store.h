#pragma once

#include "StoreError.h"
#include "Values.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <memory>

// What the data objects and screens need of a store, whatever keeps the data: a backend
// opened from the connection string, its statements stepped row by row, and a write
// transaction. Every failure of a backend leaves it as a StoreError::Failure.

// How a value is kept, as a cursor reports it.
enum class Storage { Null, Integer, Real, Text, Bytes };

// A prepared statement and, once stepped, its current row. Columns count from 0, parameters
// from 1.
class StoreCursor {
public:
    virtual ~StoreCursor();

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // The table and column a result column reads straight from; empty when computed.
    virtual QString originTable(int column) const = 0;
    virtual QString originColumn(int column) const = 0;
    virtual QString declaredType(int column) const = 0;

    // Null for an invalid or null variant, whole numbers and bools as integers, doubles as
    // reals, anything else as its text.
    virtual void bind(int parameter, const QVariant& value) = 0;
    // Text given as UTF-8, kept byte for byte; bytes kept as bytes.
    virtual void bindUtf8(int parameter, QByteArrayView text) = 0;
    virtual void bindBytes(int parameter, QByteArrayView bytes) = 0;
    // Runs again from the start, keeping the bound values for rebinding.
    virtual void reset() = 0;

    // Steps to the next row; false when there is none.
    virtual bool next() = 0;
    // Runs a statement that returns no rows.
    void run() {
        while (next()) {
        }
    }

    virtual Storage storage(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double real(int column) const = 0;
    // Text or bytes as stored; valid until the cursor moves.
    virtual QByteArrayView bytes(int column) const = 0;
    bool isNull(int column) const { return storage(column) == Storage::Null; }

    // The value as a data object keeps it for a field of that type: dates as QDate, numbers
    // as numbers, a value of another kind as it is stored.
    virtual QVariant value(int column, FieldType type) const = 0;
    // The same for `count` columns from `first` into out[0..count), in one call per row.
    virtual void readRow(int first, int count, const FieldType* types, QVariant* out) const = 0;
};

// A write transaction: begun immediately, rolled back on destruction unless committed.
class StoreTransaction {
public:
    virtual ~StoreTransaction();
    virtual void commit() = 0;
};

// One open store.
class StoreBackend {
public:
    virtual ~StoreBackend();

    // The backend the connection string names; waitSeconds bounds the waits for locks.
    static std::unique_ptr<StoreBackend> open(const QString& connectionString, int waitSeconds);

    // Statements in the backend's own dialect.
    virtual std::unique_ptr<StoreCursor> prepare(const QString& sql) = 0;
    // Runs one or more statements; returns the rows the last one changed.
    virtual int execute(const QString& sql) = 0;
    // A statement in the Jet dialect, in the backend's own.
    virtual QString translate(const QString& jetSql) const = 0;

    virtual qint64 lastInsertId() = 0;
    // Rows changed by the last statement that changed any.
    virtual int changes() = 0;

    virtual std::unique_ptr<StoreTransaction> beginWrite() = 0;

    // Whether the column is the table's own row number (an integer primary key).
    virtual bool isIntegerPrimaryKey(const QString& table, const QString& column) = 0;
};
