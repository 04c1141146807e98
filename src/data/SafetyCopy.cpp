#include "SafetyCopy.h"

#include "StoreError.h"
#include "UserError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

namespace {

// The whole file in one step; another copy of the program writing at that moment gets a
// few seconds to finish, never more, so that ending is not held up.
void copyInto(SQLite::Database& from, SQLite::Database& to) {
    int rc = SQLITE_OK;
    {
        // Finished before the copy is read.
        SQLite::Backup backup(to, from);
        for (int attempt = 0; attempt < 50; ++attempt) {
            rc = backup.executeStep(-1);
            if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                break;
            QThread::msleep(100);
        }
    }
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(sqlite3_errstr(rc), rc);
    if (to.execAndGet("PRAGMA quick_check").getString() != "ok")
        throw UserError(
            QStringLiteral("Το αντίγραφο δεν πέρασε τον έλεγχο του αρχείου δεδομένων."));
}

// The reason under the sentence: the program's own, or the store's text for support; any
// other fault is logged and named only as unexpected.
QString reasonOf(const std::exception& e) {
    if (const auto* own = dynamic_cast<const UserError*>(&e))
        return own->sentence();
    if (dynamic_cast<const SQLite::Exception*>(&e) || dynamic_cast<const StoreError::Failure*>(&e))
        return QString::fromUtf8(e.what());
    return UserErrors::unexpected(e);
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
            throw UserError(QStringLiteral("Ο φάκελος δεν μπορεί να δημιουργηθεί."));
        QFile::remove(partial);
        {
            SQLite::Database from(QFile::encodeName(dataFile).toStdString(), SQLite::OPEN_READONLY);
            SQLite::Database to(QFile::encodeName(partial).toStdString(),
                                SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            copyInto(from, to);
        }
        // Today's copy is replaced only by a whole one.
        if (std::rename(QFile::encodeName(partial).constData(),
                        QFile::encodeName(target).constData()) != 0)
            throw UserError(
                QStringLiteral("Το αντίγραφο δεν μπορεί να πάρει το όνομα της ημέρας."));
        removeOld(QDir(folderPath), kept);
    } catch (const std::exception& e) {
        QFile::remove(partial);
        return QStringLiteral("Δεν έγινε το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων "
                              "στον φάκελο «%1». Τα δεδομένα σας είναι ασφαλή στο data.mdb· "
                              "αντιγράψτε το αρχείο με το χέρι όταν το πρόγραμμα δεν τρέχει.\n")
                   .arg(QDir::toNativeSeparators(folderPath)) +
               reasonOf(e);
    }
    return {};
}
