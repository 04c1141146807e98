#pragma once

#include "BusyWait.h"
#include "Store.h"

#include <SQLiteCpp/Exception.h>

#include <memory>
#include <utility>

namespace SQLite {
class Database;
}
struct sqlite3;
class Connection;
class SqliteTransaction;

// The store as one SQLite file, data.mdb: opened read-write only (a missing file is an
// error, never a new empty one), through the checksum layer, waiting for locks as
// BusyWait says, with the Jet dialect's functions and collation installed.
class SqliteStore : public StoreBackend {
public:
    SqliteStore(const QString& file, int waitSeconds);
    ~SqliteStore() override;

    // The SQLite store behind an open connection, for what concerns the SQLite file itself
    // (its pages, its integrity check); throws when the connection is on another store.
    static SqliteStore& of(Connection& c);
    SQLite::Database& database() { return *m_db; }
    sqlite3* handle();

    std::unique_ptr<StoreCursor> prepare(const QString& sql) override;
    int execute(const QString& sql) override;
    QString translate(const QString& jetSql) const override;
    qint64 lastInsertId() override;
    int changes() override;
    std::unique_ptr<StoreTransaction> beginWrite() override;
    bool isIntegerPrimaryKey(const QString& table, const QString& column) override;

    static StoreError::Failure failure(const SQLite::Exception& e);
    // Runs f, turning SQLite's exceptions into the store's.
    template <class F> static auto guarded(F&& f) -> decltype(f()) {
        try {
            return std::forward<F>(f)();
        } catch (const SQLite::Exception& e) {
            throw failure(e);
        }
    }

private:
    friend class SqliteTransaction;
    BusyWait::Wait m_wait; // before the handle that points at it
    std::unique_ptr<SQLite::Database> m_db;
    SqliteTransaction* m_open = nullptr;
};
