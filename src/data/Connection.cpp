#include "Connection.h"

#include "SqliteStore.h"
#include "Store.h"

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection() {
    if (m_store) {
        // Data objects may outlive us only as QObject children; let them drop their rows.
        emit aboutToClose();
        m_store.reset();
    }
}

QString Connection::dataSourceOf(const QString& cs) {
    // key=value pairs separated by ";"; a value may stand in double quotes.
    qsizetype i = 0;
    const qsizetype n = cs.size();
    while (i < n) {
        const qsizetype eq = cs.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = cs.mid(i, eq - i).trimmed();
        qsizetype j = eq + 1;
        QString value;
        if (j < n && cs[j] == u'"') {
            const qsizetype close = cs.indexOf(u'"', j + 1);
            value = cs.mid(j + 1, (close < 0 ? n : close) - j - 1);
            j = close < 0 ? n : close + 1;
            const qsizetype semi = cs.indexOf(u';', j);
            j = semi < 0 ? n : semi;
        } else {
            const qsizetype semi = cs.indexOf(u';', j);
            value = cs.mid(j, (semi < 0 ? n : semi) - j).trimmed();
            j = semi < 0 ? n : semi;
        }
        if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) {
            value.replace(u'\\', u'/');
            return value;
        }
        i = j + 1;
    }
    return {};
}

void Connection::setUp(const QString& connectionString, bool openNow) {
    close();
    setConnectionString(connectionString);
    setCommandTimeout(0);
    setConnectionTimeout(0);
    if (openNow)
        open();
}

void Connection::open() {
    if (m_store)
        return;
    const int waitSeconds = m_commandTimeout > 0 ? m_commandTimeout : kUnlimitedWaitSeconds;
    m_store = StoreBackend::open(m_connectionString, waitSeconds);
}

void Connection::close() {
    if (!m_store)
        return;
    emit aboutToClose();
    m_store.reset();
}

StoreBackend& Connection::store() {
    if (!m_store)
        throw StoreError::Failure(StoreError::Kind::Closed, 0,
                                  "Operation is not allowed when the object is closed.");
    return *m_store;
}

int Connection::execute(const QString& jetSql) {
    StoreBackend& s = store();
    return s.execute(s.translate(jetSql));
}

int Connection::executeNative(const QString& sql) {
    return store().execute(sql);
}

Transaction::Transaction(Connection& connection) : m_transaction(connection.store().beginWrite()) {}

Transaction::~Transaction() = default;

void Transaction::commit() {
    m_transaction->commit();
}

// ---- the seam's own pieces ----

StoreCursor::~StoreCursor() = default;
StoreTransaction::~StoreTransaction() = default;
StoreBackend::~StoreBackend() = default;

std::unique_ptr<StoreBackend> StoreBackend::open(const QString& connectionString, int waitSeconds) {
    // One kind of store so far: the SQLite file that "Data Source=" names.
    return std::make_unique<SqliteStore>(Connection::dataSourceOf(connectionString), waitSeconds);
}
