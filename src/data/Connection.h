#pragma once

#include <QObject>
#include <QString>

#include <memory>

class StoreBackend;
class StoreTransaction;

// One screen's link to data.mdb, set from the program's connection string: close, set the
// string and both time-outs, open. Opening never creates a missing file.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    QString connectionString() const { return m_connectionString; }
    void setConnectionString(const QString& s) { m_connectionString = s; }
    // Seconds; 0 means "no limit of our own", which waits up to kUnlimitedWaitSeconds.
    int commandTimeout() const { return m_commandTimeout; }
    void setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
    int connectionTimeout() const { return m_connectionTimeout; }
    void setConnectionTimeout(int seconds) { m_connectionTimeout = seconds; }

    // The usual set-up of a screen: close, set the string and both time-outs to 0, open.
    void setUp(const QString& connectionString, bool openNow = true);

    void open();
    void close();
    bool isConnected() const { return m_store != nullptr; }

    // Runs a statement written in the Jet dialect; returns the rows it changed.
    int execute(const QString& jetSql);
    // Runs a statement of the program's own (already in the store's dialect).
    int executeNative(const QString& sql);

    // The open store; throws StoreError::Failure (Closed) when the connection is not open.
    StoreBackend& store();

    // The file named by "Data Source=" in a connection string; "\" is read as "/".
    static QString dataSourceOf(const QString& connectionString);

    // A waiting limit is needed even when the caller asks for none: a front desk frozen
    // forever behind another program's lock is worse than a message.
    static constexpr int kUnlimitedWaitSeconds = 30;

signals:
    void aboutToClose();

private:
    QString m_connectionString;
    int m_commandTimeout = 30;
    int m_connectionTimeout = 15;
    std::unique_ptr<StoreBackend> m_store;
};

// A write of several statements: begun at once (BEGIN IMMEDIATE on SQLite), rolled back
// unless commit() is reached, also when an exception leaves the scope.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    std::unique_ptr<StoreTransaction> m_transaction;
};
