#include "StoreError.h"

#include "ChecksumVfs.h"
#include "UserError.h"

#include <sqlite3.h>

namespace StoreError {

Kind kindOf(int code) {
    // Extended codes that read differently from their primary code come first.
    switch (code) {
    case SQLITE_IOERR_DATA: // a page whose checksum does not match
    case SQLITE_IOERR_CORRUPTFS:
        return Kind::Damaged;
    case SQLITE_IOERR_NOMEM:
        return Kind::Other;
    case SQLITE_READONLY_DIRECTORY:
        return Kind::FolderReadOnly;
    case SQLITE_CANTOPEN_ISDIR:
        return Kind::CannotOpen;
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Kind::Busy;
    case SQLITE_FULL:
        return Kind::Full;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Kind::ReadOnly;
    case SQLITE_CANTOPEN:
        return Kind::CannotOpen;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Kind::Damaged;
    case SQLITE_IOERR:
    case SQLITE_PROTOCOL:
    case SQLITE_NOLFS:
        return Kind::Io;
    case SQLITE_CONSTRAINT:
        return Kind::Refused;
    case SQLITE_ERROR:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_TOOBIG:
    case SQLITE_SCHEMA:
        return Kind::Statement;
    case SQLITE_MISUSE:
        return Kind::Closed;
    default:
        return Kind::Other;
    }
}

QString sentence(Kind kind) {
    switch (kind) {
    case Kind::Busy:
        return QStringLiteral("Το αρχείο δεδομένων χρησιμοποιείται από άλλο πρόγραμμα· "
                              "δοκιμάστε ξανά σε λίγο.");
    case Kind::Full:
        return QStringLiteral("Ο δίσκος είναι γεμάτος και η αλλαγή δεν αποθηκεύτηκε· το αρχείο "
                              "δεδομένων έμεινε όπως ήταν. Ελευθερώστε χώρο στον δίσκο και "
                              "δοκιμάστε ξανά.");
    case Kind::ReadOnly:
        return QStringLiteral("Το αρχείο δεδομένων δεν μπορεί να γραφτεί, γιατί είναι μόνο για "
                              "ανάγνωση ή δεν επιτρέπεται η εγγραφή σε αυτό· η αλλαγή δεν "
                              "αποθηκεύτηκε. Δώστε δικαίωμα εγγραφής στο αρχείο data.mdb και "
                              "στον φάκελό του και δοκιμάστε ξανά.");
    case Kind::FolderReadOnly:
        return QStringLiteral("Το αρχείο δεδομένων δεν μπορεί να γραφτεί, γιατί ο φάκελός του "
                              "δεν επιτρέπει εγγραφή και κάθε αλλαγή χρειάζεται ένα βοηθητικό "
                              "αρχείο δίπλα στο data.mdb· η αλλαγή δεν αποθηκεύτηκε. Δώστε "
                              "δικαίωμα εγγραφής στον φάκελο του data.mdb και δοκιμάστε ξανά.");
    case Kind::CannotOpen:
        return QStringLiteral("Το αρχείο δεδομένων δεν μπορεί να ανοίξει ή να γραφτεί, γιατί "
                              "λείπει ή δεν επιτρέπεται η εγγραφή στον φάκελό του. Ελέγξτε ότι "
                              "το data.mdb υπάρχει και ότι επιτρέπεται η εγγραφή σε αυτό και "
                              "στον φάκελό του.");
    case Kind::Damaged:
        return QStringLiteral("Το αρχείο δεδομένων είναι κατεστραμμένο και δεν μπορεί να "
                              "χρησιμοποιηθεί με ασφάλεια. Κλείστε το πρόγραμμα και "
                              "επαναφέρετε το νεότερο αντίγραφο ασφαλείας από τον φάκελο "
                              "«Αντίγραφα» δίπλα στο data.mdb.");
    case Kind::ChangedOutside:
        return QStringLiteral("Το αρχείο δεδομένων άλλαξε από άλλο πρόγραμμα όσο ήταν ανοιχτό το "
                              "Marivelle, και η αλλαγή δεν αποθηκεύτηκε. Κλείστε το Marivelle "
                              "και ανοίξτε το ξανά, ώστε να ελεγχθεί το αρχείο.");
    case Kind::Io:
        return QStringLiteral("Ο δίσκος δεν μπόρεσε να διαβάσει ή να γράψει το αρχείο "
                              "δεδομένων. Ελέγξτε τον δίσκο και δοκιμάστε ξανά.");
    case Kind::Refused:
        return QStringLiteral("Το αρχείο δεδομένων δεν δέχτηκε την αλλαγή, γιατί αντίκειται σε "
                              "κανόνα του (για παράδειγμα μια τιμή που υπάρχει ήδη). Διορθώστε "
                              "τα στοιχεία και δοκιμάστε ξανά.");
    case Kind::Statement:
        return QStringLiteral("Το αρχείο δεδομένων δεν μπόρεσε να εκτελέσει την εντολή. "
                              "Ελέγξτε τα στοιχεία που γράψατε και δοκιμάστε ξανά.");
    case Kind::Closed:
        return QStringLiteral("Η σύνδεση με το αρχείο δεδομένων δεν είναι ανοιχτή. Κλείστε την "
                              "οθόνη και ανοίξτε την ξανά.");
    case Kind::Other:
        break;
    }
    return QStringLiteral("Παρουσιάστηκε σφάλμα στο αρχείο δεδομένων. Δοκιμάστε ξανά· αν "
                          "επαναληφθεί, κλείστε και ανοίξτε ξανά το πρόγραμμα.");
}

namespace {

Kind kindNow(int code) {
    // A stale page tells another program's write from damage only through the layer.
    if (code == SQLITE_IOERR_DATA && ChecksumVfs::lastMark() == ChecksumVfs::Mark::ChangedOutside)
        return Kind::ChangedOutside;
    return kindOf(code);
}

QString described(Kind kind, const QString& storeText) {
    const QString text = sentence(kind);
    return storeText.isEmpty() ? text : text + u'\r' + storeText;
}

} // namespace

Failure failureOf(int code, const std::string& text) {
    return Failure(kindNow(code), code, text);
}

QString describe(int code, const QString& storeText) {
    return described(kindNow(code), storeText);
}

QString forPerson(const std::exception& e) {
    if (const auto* own = dynamic_cast<const UserError*>(&e))
        return own->sentence();
    const auto* store = dynamic_cast<const Failure*>(&e);
    if (!store)
        return UserErrors::unexpected(e);
    return described(store->kind(), QString::fromUtf8(e.what()));
}

} // namespace StoreError
