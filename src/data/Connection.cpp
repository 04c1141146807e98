#include "Connection.h"

#include "ChecksumVfs.h"
#include "JetDialect.h"

#include <QDir>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection() {
    if (m_db) {
        // Data objects may outlive us only as QObject children; let them drop their rows.
        emit aboutToClose();
        m_db.reset();
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
    if (m_db)
        return;
    const QString path = dataSourceOf(m_connectionString);
    if (path.isEmpty())
        throw SQLite::Exception("The connection string names no Data Source.", SQLITE_CANTOPEN);
    ChecksumVfs::install();
    // The store opens read-write only: a missing file is an error, never a new empty file.
    auto db = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                 SQLite::OPEN_READWRITE);
    sqlite3* h = db->getHandle();
    const int waitSeconds = m_commandTimeout > 0 ? m_commandTimeout : kUnlimitedWaitSeconds;
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
}

void Connection::close() {
    if (!m_db)
        return;
    emit aboutToClose();
    m_db.reset();
}

SQLite::Database& Connection::database() {
    if (!m_db)
        throw SQLite::Exception("Operation is not allowed when the object is closed.",
                                SQLITE_MISUSE);
    return *m_db;
}

sqlite3* Connection::handle() {
    return database().getHandle();
}

int Connection::execute(const QString& jetSql) {
    return executeNative(JetDialect::translate(jetSql));
}

int Connection::executeNative(const QString& sql) {
    return database().exec(sql.toStdString());
}

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (!m_done && m_connection.isConnected()) {
        try {
            m_connection.executeNative(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    m_connection.executeNative(QStringLiteral("COMMIT"));
    m_done = true;
}
