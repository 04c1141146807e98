#include "SafetyCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace {

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;

Db openFile(const QString& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    Db owned(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    return owned;
}

// The whole file in one step; another copy of the program writing at that moment gets a
// few seconds to finish, never more, so that ending is not held up.
void copyInto(sqlite3* from, sqlite3* to) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw std::runtime_error(sqlite3_errmsg(to));
    int rc = SQLITE_OK;
    for (int attempt = 0; attempt < 50; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? sqlite3_errstr(rc)
                                                                          : sqlite3_errmsg(to));
}

void checkCopy(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    const bool ok = sqlite3_step(st) == SQLITE_ROW &&
                    QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
    sqlite3_finalize(st);
    if (!ok)
        throw std::runtime_error("the copy does not pass the store's check");
}

void removeOld(QDir folder, int kept) {
    static const QRegularExpression name(QStringLiteral("^data-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    // The dated names sort as the days do.
    QStringList copies =
        folder.entryList({QStringLiteral("data-*.mdb")}, QDir::Files, QDir::Name | QDir::Reversed);
    copies.removeIf([](const QString& n) { return !name.match(n).hasMatch(); });
    for (qsizetype i = kept; i < copies.size(); ++i)
        folder.remove(copies[i]);
}

} // namespace

QString SafetyCopy::folderFor(const QString& dataFile) {
    return QFileInfo(dataFile).absoluteDir().filePath(QStringLiteral("Αντίγραφα"));
}

QString SafetyCopy::writeDaily(const QString& dataFile, const QDate& today, int kept) {
    const QString folderPath = folderFor(dataFile);
    const QString target =
        QDir(folderPath)
            .filePath(QStringLiteral("data-") + today.toString(QStringLiteral("yyyy-MM-dd")) +
                      QStringLiteral(".mdb"));
    // Written under another name first, so that a copy cut short never passes for today's.
    const QString partial = target + QStringLiteral(".part");
    try {
        if (!QDir().mkpath(folderPath))
            throw std::runtime_error("the folder cannot be made");
        if (!QFileInfo::exists(target)) {
            QFile::remove(partial);
            {
                const Db from = openFile(dataFile, SQLITE_OPEN_READONLY);
                const Db to = openFile(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
                copyInto(from.get(), to.get());
                checkCopy(to.get());
            }
            if (!QFile::rename(partial, target))
                throw std::runtime_error("the copy cannot be renamed");
        }
        removeOld(QDir(folderPath), kept);
    } catch (const std::exception& e) {
        QFile::remove(partial);
        return QStringLiteral("Δεν έγινε το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων "
                              "στον φάκελο «%1». Τα δεδομένα σας είναι ασφαλή στο data.mdb· "
                              "αντιγράψτε το αρχείο με το χέρι όταν το πρόγραμμα δεν τρέχει.\n")
                   .arg(QDir::toNativeSeparators(folderPath)) +
               QString::fromUtf8(e.what());
    }
    return {};
}
