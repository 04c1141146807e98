#include "SqliteStore.h"

#include "ChecksumVfs.h"
#include "Connection.h"
#include "JetDialect.h"

#include <QFile>
#include <QHashFunctions>

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

QString textOf(const char* t) {
    return t ? QString::fromUtf8(t) : QString();
}

// "2007-03-28", maybe followed by a time, read from the stored bytes as Values::dateFromIso
// reads it from text, without making the text first.
QDate dateOf(const char* t, int n) {
    if (!t || n < 10 || t[4] != '-' || t[7] != '-')
        return {};
    const auto num = [t](int from, int len) {
        int v = 0;
        for (int i = from; i < from + len; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return -1;
            v = v * 10 + (t[i] - '0');
        }
        return v;
    };
    const int y = num(0, 4), m = num(5, 2), d = num(8, 2);
    if (y < 0 || m < 0 || d < 0)
        return {};
    return QDate(y, m, d);
}

// The texts of one column met lately, so that a value repeated down a column (a fund, a
// profession, the same first name) is one shared QString rather than a copy per row. Given up
// for a column whose values rarely repeat.
class RepeatedTexts {
public:
    QString text(const char* t, int n) {
        if (!m_active)
            return QString::fromUtf8(t, n);
        const std::string_view bytes(t, size_t(n));
        Slot& slot = m_slots[qHashBits(t, size_t(n)) % kSlots];
        ++m_looked;
        if (slot.used && slot.bytes == bytes) {
            ++m_found;
            return slot.text;
        }
        if (m_looked == kTrial && m_found < kTrial / 4)
            m_active = false; // mostly distinct: not worth the look-ups
        slot.used = true;
        slot.bytes.assign(bytes);
        slot.text = QString::fromUtf8(t, n);
        return slot.text;
    }

private:
    static constexpr size_t kSlots = 64;
    static constexpr int kTrial = 512;
    struct Slot {
        bool used = false;
        std::string bytes;
        QString text;
    };
    std::array<Slot, kSlots> m_slots;
    int m_looked = 0;
    int m_found = 0;
    bool m_active = true;
};

QVariant cellOf(const SQLite::Column& c, FieldType type, RepeatedTexts* repeated = nullptr) {
    const int storage = c.getType();
    if (storage == SQLITE_NULL)
        return {};
    switch (type) {
    case FieldType::Date: {
        const char* t = c.getText();
        const int n = c.getBytes();
        const QDate d = dateOf(t, n);
        if (d.isValid())
            return d;
        return repeated ? repeated->text(t, n) : QString::fromUtf8(t, n);
    }
    case FieldType::Boolean:
        return c.getInt64() != 0;
    case FieldType::Integer:
    case FieldType::AutoInc:
        if (storage == SQLITE_INTEGER)
            return qlonglong(c.getInt64());
        break;
    case FieldType::Double:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return c.getDouble();
        break;
    default:
        break;
    }
    switch (storage) {
    case SQLITE_INTEGER:
        return qlonglong(c.getInt64());
    case SQLITE_FLOAT:
        return c.getDouble();
    default: {
        const char* t = c.getText();
        const int n = c.getBytes();
        return repeated ? repeated->text(t, n) : QString::fromUtf8(t, n);
    }
    }
}

class SqliteCursor final : public StoreCursor {
public:
    SqliteCursor(SQLite::Database& db, const std::string& sql) : m_stmt(db, sql) {
        // SQLiteCpp keeps its statement to itself; the connection's newest statement is this
        // one, needed only for the tables the columns come from.
        sqlite3* h = db.getHandle();
        for (sqlite3_stmt* s = sqlite3_next_stmt(h, nullptr); s; s = sqlite3_next_stmt(h, s)) {
            const char* text = sqlite3_sql(s);
            if (text && sql.compare(0, std::strlen(text), text) == 0) {
                m_raw = s;
                break;
            }
        }
    }

    int columnCount() const override { return m_stmt.getColumnCount(); }
    QString columnName(int column) const override { return textOf(m_stmt.getColumnName(column)); }
    QString originTable(int column) const override {
        return m_raw ? textOf(sqlite3_column_table_name(m_raw, column)) : QString();
    }
    QString originColumn(int column) const override {
        return m_raw ? textOf(sqlite3_column_origin_name(m_raw, column)) : QString();
    }
    QString declaredType(int column) const override {
        // Computed columns have none, which SQLiteCpp reports as an error.
        return m_raw ? textOf(sqlite3_column_decltype(m_raw, column)) : QString();
    }

    void bind(int parameter, const QVariant& v) override {
        SqliteStore::guarded([&] {
            if (!v.isValid() || v.isNull()) {
                m_stmt.bind(parameter);
                return;
            }
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
                m_stmt.bind(parameter, static_cast<int64_t>(v.toLongLong()));
                break;
            case QMetaType::Double:
                m_stmt.bind(parameter, v.toDouble());
                break;
            default:
                m_stmt.bind(parameter, v.toString().toStdString());
            }
        });
    }
    void bindUtf8(int parameter, QByteArrayView text) override {
        SqliteStore::guarded(
            [&] { m_stmt.bind(parameter, std::string(text.data(), size_t(text.size()))); });
    }
    void bindBytes(int parameter, QByteArrayView bytes) override {
        SqliteStore::guarded([&] { m_stmt.bind(parameter, bytes.data(), int(bytes.size())); });
    }
    void reset() override {
        SqliteStore::guarded([&] { m_stmt.reset(); });
    }

    bool next() override {
        const bool row = SqliteStore::guarded([&] { return m_stmt.executeStep(); });
        if (row && m_columns.empty()) {
            // The columns read the current row whenever asked: taken once, kept for every row.
            const int n = m_stmt.getColumnCount();
            m_columns.reserve(size_t(n));
            for (int i = 0; i < n; ++i)
                m_columns.push_back(m_stmt.getColumn(i));
        }
        return row;
    }

    Storage storage(int column) const override {
        switch (at(column).getType()) {
        case SQLITE_INTEGER:
            return Storage::Integer;
        case SQLITE_FLOAT:
            return Storage::Real;
        case SQLITE_TEXT:
            return Storage::Text;
        case SQLITE_BLOB:
            return Storage::Bytes;
        default:
            return Storage::Null;
        }
    }
    qint64 integer(int column) const override { return at(column).getInt64(); }
    double real(int column) const override { return at(column).getDouble(); }
    QByteArrayView bytes(int column) const override {
        const SQLite::Column& c = at(column);
        const char* data =
            c.getType() == SQLITE_BLOB ? static_cast<const char*>(c.getBlob()) : c.getText();
        return QByteArrayView(data, c.getBytes());
    }
    QVariant value(int column, FieldType type) const override { return cellOf(at(column), type); }
    void readRow(int first, int count, const FieldType* types, QVariant* out) const override {
        const SQLite::Column* c = &at(first);
        if (m_repeated.size() < m_columns.size())
            m_repeated.resize(m_columns.size());
        RepeatedTexts* repeated = m_repeated.data() + first;
        for (int i = 0; i < count; ++i)
            out[i] = cellOf(c[i], types[i], repeated + i);
    }

private:
    const SQLite::Column& at(int column) const {
        if (column < 0 || size_t(column) >= m_columns.size())
            throw SqliteStore::failure(SQLite::Exception("No row to get a column from."));
        return m_columns[size_t(column)];
    }

    SQLite::Statement m_stmt;
    sqlite3_stmt* m_raw = nullptr;
    std::vector<SQLite::Column> m_columns;
    mutable std::vector<RepeatedTexts> m_repeated; // per column, for whole reads
};

} // namespace

class SqliteTransaction final : public StoreTransaction {
public:
    explicit SqliteTransaction(SqliteStore& store) : m_store(&store) {
        SqliteStore::guarded([&] {
            m_transaction.emplace(store.database(), SQLite::TransactionBehavior::IMMEDIATE);
        });
        store.m_open = this;
    }
    ~SqliteTransaction() override {
        if (m_store)
            m_store->m_open = nullptr;
        // SQLite::Transaction rolls back what was not committed.
    }
    void commit() override {
        if (!m_transaction)
            throw StoreError::Failure(StoreError::Kind::Closed, SQLITE_MISUSE,
                                      "The transaction ended when its connection closed.");
        SqliteStore::guarded([&] { m_transaction->commit(); });
    }
    // The store is closing: rolled back now, while the handle is there.
    void abandon() {
        m_transaction.reset();
        m_store = nullptr;
    }

private:
    SqliteStore* m_store;
    std::optional<SQLite::Transaction> m_transaction;
};

SqliteStore::SqliteStore(const QString& file, int waitSeconds) {
    if (file.isEmpty())
        throw StoreError::failureOf(SQLITE_CANTOPEN, "The connection string names no Data Source.");
    ChecksumVfs::install();
    guarded([&] {
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(file).toStdString(),
                                                     SQLite::OPEN_READWRITE);
        sqlite3* h = db->getHandle();
        m_wait.limitMs = waitSeconds * 1000;
        BusyWait::install(h, &m_wait);
        // Reading the header here reports a garbage file at once and changes nothing in it.
        db->exec("PRAGMA journal_mode=DELETE");
        db->exec("PRAGMA synchronous=FULL");
        db->exec("PRAGMA foreign_keys=OFF");
        {
            SQLite::Statement check(*db, "SELECT count(*) FROM sqlite_master");
            check.executeStep();
            if (check.getColumn(0).getInt() == 0)
                throw SQLite::Exception("file is not a database", SQLITE_NOTADB);
        }
        JetDialect::install(h);
        m_db = std::move(db);
    });
}

SqliteStore::~SqliteStore() {
    if (m_open)
        m_open->abandon();
}

SqliteStore& SqliteStore::of(Connection& c) {
    if (auto* s = dynamic_cast<SqliteStore*>(&c.store()))
        return *s;
    throw StoreError::Failure(StoreError::Kind::Other, SQLITE_MISUSE,
                              "The connection is not on an SQLite file.");
}

sqlite3* SqliteStore::handle() {
    return m_db->getHandle();
}

StoreError::Failure SqliteStore::failure(const SQLite::Exception& e) {
    const int extended = e.getExtendedErrorCode();
    return StoreError::failureOf(extended >= 0 ? extended : e.getErrorCode(), e.what());
}

std::unique_ptr<StoreCursor> SqliteStore::prepare(const QString& sql) {
    return guarded([&]() -> std::unique_ptr<StoreCursor> {
        return std::make_unique<SqliteCursor>(*m_db, sql.toStdString());
    });
}

int SqliteStore::execute(const QString& sql) {
    return guarded([&] { return m_db->exec(sql.toStdString()); });
}

QString SqliteStore::translate(const QString& jetSql) const {
    return JetDialect::translate(jetSql);
}

qint64 SqliteStore::lastInsertId() {
    return m_db->getLastInsertRowid();
}

int SqliteStore::changes() {
    return m_db->getChanges();
}

std::unique_ptr<StoreTransaction> SqliteStore::beginWrite() {
    return std::make_unique<SqliteTransaction>(*this);
}

bool SqliteStore::isIntegerPrimaryKey(const QString& table, const QString& column) {
    int pk = 0, autoinc = 0, notNull = 0;
    const char *declared = nullptr, *collation = nullptr;
    const QByteArray t = table.toUtf8(), c = column.toUtf8();
    return sqlite3_table_column_metadata(handle(), nullptr, t.constData(), c.constData(), &declared,
                                         &collation, &notNull, &pk, &autoinc) == SQLITE_OK &&
           pk && declared && qstricmp(declared, "INTEGER") == 0;
}
