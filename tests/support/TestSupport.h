#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class Connection;
class DataSet;

// A fresh copy of the shipped data file in a folder of its own, made the program's
// working folder: AppDirectory and ConnectionString point at it.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    QString dir() const { return m_dir.path(); }
    QString path() const;
    QString connectionString() const;
    // A connection already open on the file.
    std::unique_ptr<Connection> connect() const;
    // Runs a statement straight on the file (no dialect), for setting up data.
    void exec(const QString& sql) const;
    QString scalar(const QString& sql) const;

private:
    QTemporaryDir m_dir;
};

// The connection string the program builds, for a file at the given folder.
QString connectionStringFor(const QString& folder);

// The texts of one column of an open data set, first row to last.
QStringList columnOf(const DataSet& data, int column);

// Runs the shipped data tool (marivelle-data) with these arguments; its exit code, or -1
// when it did not end. Its output goes into the test's log.
int runDataTool(const QStringList& arguments);

// Verifies a statement and shows the store's message when it throws.
#define MV_VERIFY_NOTHROW(expr)                                                                    \
    do {                                                                                           \
        try {                                                                                      \
            expr;                                                                                  \
        } catch (const std::exception& e_) {                                                       \
            QFAIL(qPrintable(QStringLiteral("%1 threw: %2")                                        \
                                 .arg(QStringLiteral(#expr), QString::fromUtf8(e_.what()))));      \
        }                                                                                          \
    } while (0)

// What is wrong with the receipts of a data file, as sentences; empty when nothing is.
// Opening the file first rolls back a journal a crash left, as the program's next start
// would; a journal still there afterwards is itself a fault, unless its header was never
// written (nothing in the file was changed yet, and every open ignores it). Checked: the
// file's integrity, distinct receipt numbers, the counter one above the highest number,
// exactly one matching collection for every valid receipt and none for a cancelled one.
QStringList receiptFaults(const QString& path);
