#include "DataFileCheck.h"

#include "BusyWait.h"
#include "ChecksumVfs.h"
#include "Connection.h"
#include "ReceiptRecord.h"
#include "SafetyCopy.h"
#include "SqliteStore.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

namespace DataFileCheck {
namespace {

[[noreturn]] void refuse(const std::string& why, int code = SQLITE_CORRUPT) {
    throw StoreError::failureOf(code, "data.mdb " + why);
}

// A file written by another program since the program last sealed it is checked and sealed
// again; true when that happened. A file damaged with no writer is refused.
bool sealAgainIfChanged(const QString& file) {
    BusyWait::Wait wait{Connection::kUnlimitedWaitSeconds * 1000, {}};
    SQLite::Database db(QFile::encodeName(file).toStdString(), SQLite::OPEN_READWRITE, 0,
                        ChecksumVfs::uncheckedName());
    // Another copy of the program writing: waited for as every screen waits, in sight.
    BusyWait::install(db.getHandle(), &wait);
    const auto look = [&db] {
        // A read takes the read lock, after rolling back what a crash left half written.
        db.execAndGet("PRAGMA schema_version");
        return ChecksumVfs::inspectFirstPage(db.getHandle());
    };
    db.exec("BEGIN");
    ChecksumVfs::Inspection seen = look();
    db.exec("ROLLBACK");
    if (seen.state == ChecksumVfs::State::Damaged)
        refuse("is damaged: the page checksums do not match (" + seen.detail + ")");
    if (seen.state != ChecksumVfs::State::ChangedOutside)
        return false;

    // Checked and sealed under one lock, so that nothing changes in between.
    db.exec("BEGIN EXCLUSIVE");
    seen = look();
    if (seen.state != ChecksumVfs::State::ChangedOutside) {
        db.exec("ROLLBACK");
        return false; // another copy of the program sealed it meanwhile
    }
    const QString integrity = rowsOf(db, "PRAGMA integrity_check");
    if (integrity != u"ok")
        refuse("was changed by another program and fails the store's integrity check: " +
               integrity.left(400).toStdString());
    const QStringList faults = receiptFaults(db);
    if (!faults.isEmpty())
        refuse("was changed by another program and its receipts do not agree: " +
               faults.join(QStringLiteral("; ")).left(400).toStdString());
    const std::string sealed = ChecksumVfs::sealInPlace(db.getHandle());
    if (!sealed.empty())
        refuse("was changed by another program and cannot be sealed again: " + sealed,
               SQLITE_IOERR);
    db.exec("COMMIT");
    return true;
}

} // namespace

QString rowsOf(SQLite::Database& db, const char* sql) {
    SQLite::Statement st(db, sql);
    QStringList rows;
    while (st.executeStep())
        rows << QString::fromStdString(st.getColumn(0).getString());
    return rows.join(u'\n');
}

QStringList receiptFaults(SQLite::Database& db) {
    QStringList faults;
    const auto add = [&](const char* what, const char* sql) {
        const QString found = rowsOf(db, sql);
        if (!found.isEmpty())
            faults << QString::fromLatin1(what) + found;
    };
    add("numbers given twice: ",
        "SELECT group_concat(AR_APODEIKSHS) FROM (SELECT AR_APODEIKSHS FROM APODEIKSEIS GROUP BY "
        "AR_APODEIKSHS HAVING count(*) > 1)");
    add("counter ", "SELECT (SELECT [LAST] FROM LAST_APODEIKSH) || ' after ' || max(AR_APODEIKSHS) "
                    "FROM APODEIKSEIS HAVING (SELECT min([LAST]) FROM LAST_APODEIKSH) <= "
                    "max(AR_APODEIKSHS)");
    add("receipts without their one collection: ",
        "SELECT group_concat(AR_APODEIKSHS) FROM (SELECT r.AR_APODEIKSHS, r.EGKYRH, (SELECT "
        "count(*) FROM EISPRAKSH_PELATH c WHERE c.AR_APODEIKSHS = r.AR_APODEIKSHS AND c.POSO = "
        "r.POSO AND c.VAT IS r.VAT AND c.SYNOLIKO_POSO IS r.SYNOLIKO_POSO) AS same, (SELECT "
        "count(*) FROM EISPRAKSH_PELATH c WHERE c.AR_APODEIKSHS = r.AR_APODEIKSHS) AS any_ FROM "
        "APODEIKSEIS r) WHERE (EGKYRH <> 0 AND (same <> 1 OR any_ <> 1)) OR (EGKYRH = 0 AND any_ "
        "<> 0)");
    add("collections without a receipt: ",
        "SELECT group_concat(AR_APODEIKSHS) FROM EISPRAKSH_PELATH c WHERE NOT EXISTS (SELECT 1 "
        "FROM APODEIKSEIS r WHERE r.AR_APODEIKSHS = c.AR_APODEIKSHS)");
    return faults;
}

QStringList atStart(const QString& connectionString) {
    ChecksumVfs::install();
    const QString file = Connection::dataSourceOf(connectionString);
    if (file.isEmpty())
        throw StoreError::failureOf(SQLITE_CANTOPEN, "The connection string names no Data Source.");
    QStringList notes;
    if (SqliteStore::guarded([&] { return sealAgainIfChanged(file); }))
        notes << QStringLiteral("Το αρχείο δεδομένων είχε αλλάξει από άλλο πρόγραμμα μετά το "
                                "τελευταίο κλείσιμο του Marivelle. Ελέγχθηκε (η ακεραιότητά του "
                                "και οι αποδείξεις του με τις εισπράξεις τους), βρέθηκε σωστό και "
                                "χρησιμοποιείται κανονικά.");
    Connection c;
    c.setUp(connectionString);
    // Every page read once: damage ends the program before anything is shown from the file.
    sqlite3* handle = SqliteStore::of(c).handle();
    const std::string damage = ChecksumVfs::wholeFileCheck(handle);
    if (!damage.empty()) {
        const int code = sqlite3_extended_errcode(handle);
        refuse("is damaged: " + damage,
               code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE ? SQLITE_CORRUPT
                                                                              : code);
    }
    const ReceiptRecord::Outcome record = ReceiptRecord::reconcile(c);
    const QString told = record.message(file);
    if (!told.isEmpty())
        notes << told;
    return notes;
}

QString refusalText(const QString& dataFile, const QString& storeText) {
    return QStringLiteral("Το Marivelle δεν μπορεί να ξεκινήσει με το αρχείο δεδομένων «%1». ")
               .arg(QDir::toNativeSeparators(dataFile)) +
           storeText.section(u'\r', 0, 0) +
           QStringLiteral(" Τα αντίγραφα ασφαλείας του είναι στον φάκελο «%1»· τον έλεγχο, το "
                          "σφράγισμα και την επαναφορά αντιγράφου τα κάνει η εντολή "
                          "«marivelle-data» (δείτε «man marivelle-data»).")
               .arg(QDir::toNativeSeparators(SafetyCopy::folderFor(dataFile))) +
           (storeText.contains(u'\r') ? u'\r' + storeText.section(u'\r', 1) : QString());
}

namespace {

// A connection that reads the file without checking its pages, holding the read lock.
std::unique_ptr<SQLite::Database> openUnchecked(const QString& file) {
    return SqliteStore::guarded([&] {
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(file).toStdString(),
                                                     SQLite::OPEN_READONLY, 5000,
                                                     ChecksumVfs::uncheckedName());
        db->exec("BEGIN");
        db->execAndGet("PRAGMA schema_version");
        return db;
    });
}

QString receiptsLineOf(SQLite::Database& db) {
    return QStringLiteral("%1 αποδείξεις, η μεγαλύτερη με αριθμό %2, επόμενος αριθμός %3")
        .arg(rowsOf(db, "SELECT count(*) FROM APODEIKSEIS"),
             rowsOf(db, "SELECT ifnull(max(AR_APODEIKSHS), '-') FROM APODEIKSEIS"),
             rowsOf(db, "SELECT ifnull(min([LAST]), '-') FROM LAST_APODEIKSH"));
}

} // namespace

Examination examine(const QString& file) {
    Examination out;
    auto db = openUnchecked(file);
    out.pages = ChecksumVfs::inspect(db->getHandle());
    try {
        out.integrity = rowsOf(*db, "PRAGMA integrity_check");
    } catch (const std::exception& e) {
        out.integrity = QString::fromUtf8(e.what());
    }
    try {
        out.faults = receiptFaults(*db);
    } catch (const std::exception& e) {
        out.faults << QString::fromUtf8(e.what());
    }
    try {
        out.receipts = receiptsLineOf(*db);
    } catch (const std::exception&) {
    }
    return out;
}

QString receiptsLine(const QString& file) {
    auto db = openUnchecked(file);
    return SqliteStore::guarded([&] { return receiptsLineOf(*db); });
}

bool isSound(const QString& file) {
    auto db = openUnchecked(file);
    return ChecksumVfs::inspect(db->getHandle()).state != ChecksumVfs::State::Damaged &&
           SqliteStore::guarded([&] { return rowsOf(*db, "PRAGMA integrity_check"); }) == u"ok";
}

WriteLock::WriteLock(const QString& file)
    : m_db(SqliteStore::guarded([&] {
          auto db = std::make_unique<SQLite::Database>(QFile::encodeName(file).toStdString(),
                                                       SQLite::OPEN_READWRITE, 30000,
                                                       ChecksumVfs::uncheckedName());
          db->exec("BEGIN EXCLUSIVE");
          return db;
      })) {}

WriteLock::~WriteLock() = default;

} // namespace DataFileCheck
