#pragma once

#include "ChecksumVfs.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace SQLite {
class Database;
}

// The checks a data file passes before the program works with it.
namespace DataFileCheck {

// The rows of a statement's first column joined by new lines ("ok" from an integrity check).
QString rowsOf(SQLite::Database& db, const char* sql);

// What is wrong with the receipts, one sentence each (in English, for support); empty when
// nothing is. Numbers are distinct, the counter stands above the highest, every valid
// receipt has exactly one collection with its number and amounts, a cancelled one has none,
// and no collection is without its receipt.
QStringList receiptFaults(SQLite::Database& db);

// Run at start-up before anything is read from the file. A file written by another program
// since the program last sealed it is checked (SQLite's integrity check and the receipts'
// consistency) and, when sound, sealed again; then every page is read once, and the receipt
// record is compared with the file (see ReceiptRecord). Returns what the desk is told, one
// Greek text each; throws a store error (StoreError::Failure) when the file must not be used.
QStringList atStart(const QString& connectionString);

// What the desk is told when start-up is refused, with the store's text on a second line.
QString refusalText(const QString& dataFile, const QString& storeText);

// What the checking tool reports of a file, read under a read lock without checking its pages
// on the way, so that a damaged page is reported rather than refused.
struct Examination {
    ChecksumVfs::Inspection pages;
    QString integrity;  // "ok", what is wrong, or why it could not be run
    QStringList faults; // receiptFaults(), or why they could not be read
    QString receipts;   // receiptsLine(); empty when they could not be read
};
Examination examine(const QString& file);

// The receipts of a file in one line: how many, the highest number, the counter.
QString receiptsLine(const QString& file);

// A safety copy fit to restore: no damaged page, and the integrity check passes.
bool isSound(const QString& file);

// The write lock of a file, held as long as this lives, waiting up to 30 s for it.
class WriteLock {
public:
    explicit WriteLock(const QString& file);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    std::unique_ptr<SQLite::Database> m_db;
};

} // namespace DataFileCheck
