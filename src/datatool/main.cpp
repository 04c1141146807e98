// marivelle-data: checks, seals and restores a salon's data file, for the person who looks
// after the salon's computer. Its texts are Greek, as the program's are.
//   marivelle-data check [FILE]
//   marivelle-data seal [FILE]
//   marivelle-data copies [FILE]
//   marivelle-data restore COPY [FILE]
// FILE is data.mdb in $MARIVELLE_HOME (~/Marivelle) unless named.
#include "data/ChecksumVfs.h"
#include "data/Connection.h"
#include "data/DataFileCheck.h"
#include "data/ReceiptRecord.h"
#include "data/SafetyCopy.h"
#include "data/StoreError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void say(const QString& text) {
    QString shown = text;
    shown.replace(u'\r', u'\n');
    std::fputs(qUtf8Printable(shown + u'\n'), stdout);
    std::fflush(stdout);
}

void complain(const QString& text) {
    QString shown = text;
    shown.replace(u'\r', u'\n');
    std::fputs(qUtf8Printable(QStringLiteral("marivelle-data: ") + shown + u'\n'), stderr);
}

int usage() {
    complain(QStringLiteral(
        "χρήση:\n"
        "  marivelle-data check [ΑΡΧΕΙΟ]           έλεγχος του αρχείου δεδομένων\n"
        "  marivelle-data seal [ΑΡΧΕΙΟ]            σφράγισμα μετά από αλλαγή με άλλο πρόγραμμα\n"
        "  marivelle-data copies [ΑΡΧΕΙΟ]          τα αντίγραφα ασφαλείας του\n"
        "  marivelle-data restore ΑΝΤΙΓΡΑΦΟ [ΑΡΧΕΙΟ] επαναφορά αντιγράφου (ημερομηνία ή αρχείο)\n"
        "ΑΡΧΕΙΟ: το data.mdb του φακέλου $MARIVELLE_HOME (~/Marivelle), αν δεν δοθεί άλλο."));
    return 2;
}

QString defaultDataFile() {
    QString home = qEnvironmentVariable("MARIVELLE_HOME");
    if (home.isEmpty())
        home = QDir::home().filePath(QStringLiteral("Marivelle"));
    return QDir(home).filePath(QStringLiteral("data.mdb"));
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString connectionStringOf(const QString& file) {
    return QStringLiteral("Data Source=\"") + file + u'"';
}

int check(const QString& file) {
    if (!QFileInfo::exists(file)) {
        complain(QStringLiteral("δεν υπάρχει το αρχείο «%1».").arg(shown(file)));
        return 2;
    }
    say(QStringLiteral("Αρχείο δεδομένων: %1").arg(shown(file)));
    bool sound = true;
    const DataFileCheck::Examination found = DataFileCheck::examine(file);
    const ChecksumVfs::Inspection& seen = found.pages;
    switch (seen.state) {
    case ChecksumVfs::State::Sealed:
        say(QStringLiteral("Σελίδες: όλες σωστές."));
        break;
    case ChecksumVfs::State::Unsealed:
        say(QStringLiteral("Σελίδες: παλαιότερο αρχείο χωρίς σφραγίδες· ισχύουν μόνο οι έλεγχοι "
                           "του SQLite («marivelle-data seal» τις προσθέτει)."));
        break;
    case ChecksumVfs::State::ChangedOutside:
        say(QStringLiteral("Σελίδες: το αρχείο γράφτηκε από άλλο πρόγραμμα μετά το τελευταίο "
                           "σφράγισμα· αν περάσει τους παρακάτω ελέγχους, το Marivelle το "
                           "σφραγίζει ξανά στο επόμενο άνοιγμα («marivelle-data seal» το κάνει "
                           "τώρα)."));
        break;
    case ChecksumVfs::State::Damaged:
        say(QStringLiteral("Σελίδες: ΚΑΤΕΣΤΡΑΜΜΕΝΟ (%1). Επαναφέρετε αντίγραφο ασφαλείας "
                           "(«marivelle-data copies», «marivelle-data restore»).")
                .arg(QString::fromStdString(seen.detail)
                         .replace(QStringLiteral("page "), QStringLiteral("σελίδα "))));
        sound = false;
        break;
    }
    const QString& integrity = found.integrity;
    say(QStringLiteral("Ακεραιότητα (SQLite): %1")
            .arg(integrity == u"ok" ? QStringLiteral("σωστή") : integrity.left(2000)));
    sound = sound && integrity == u"ok";
    const QStringList& faults = found.faults;
    const QString receipts =
        found.receipts.isEmpty() ? QStringLiteral("δεν διαβάζονται") : found.receipts;
    say(QStringLiteral("Αποδείξεις: %1· %2")
            .arg(receipts, faults.isEmpty() ? QStringLiteral("συμφωνούν με τις εισπράξεις τους")
                                            : QStringLiteral("ΔΕΝ ΣΥΜΦΩΝΟΥΝ: ") +
                                                  faults.join(QStringLiteral("; "))));
    sound = sound && faults.isEmpty();

    const QString record = ReceiptRecord::pathFor(file);
    if (seen.state == ChecksumVfs::State::Sealed || seen.state == ChecksumVfs::State::Unsealed) {
        Connection c;
        c.setUp(connectionStringOf(file));
        const ReceiptRecord::Outcome o = ReceiptRecord::compare(c);
        QStringList lines;
        if (!QFileInfo::exists(record))
            lines << QStringLiteral("δεν υπάρχει ακόμη· γράφεται με την πρώτη απόδειξη");
        if (!o.restored.isEmpty() || !o.cancelled.isEmpty())
            lines << QStringLiteral("έχει %1 αποδείξεις και %2 ακυρώσεις που λείπουν από το "
                                    "αρχείο δεδομένων· μπαίνουν ξανά στο επόμενο άνοιγμα του "
                                    "Marivelle")
                         .arg(o.restored.size())
                         .arg(o.cancelled.size());
        if (o.completed > 0 && QFileInfo::exists(record))
            lines << QStringLiteral("του λείπουν %1 αποδείξεις του αρχείου δεδομένων· γράφονται "
                                    "στο επόμενο άνοιγμα")
                         .arg(o.completed);
        if (!o.unreadable.isEmpty() || !o.recordError.isEmpty() || !o.tornDropped.isEmpty()) {
            lines << o.message(file);
            sound = false;
        }
        say(QStringLiteral("Ημερολόγιο αποδείξεων (%1): %2")
                .arg(shown(record), lines.isEmpty() ? QStringLiteral("συμφωνεί με το αρχείο")
                                                    : lines.join(QStringLiteral("· "))));
    }
    say(sound ? QStringLiteral("Αποτέλεσμα: το αρχείο είναι σωστό.")
              : QStringLiteral("Αποτέλεσμα: το αρχείο ΔΕΝ είναι σωστό."));
    return sound ? 0 : 1;
}

int seal(const QString& file) {
    if (!QFileInfo::exists(file)) {
        complain(QStringLiteral("δεν υπάρχει το αρχείο «%1».").arg(shown(file)));
        return 2;
    }
    const std::string problem = ChecksumVfs::reseal(native(file));
    if (!problem.empty()) {
        complain(QStringLiteral("το αρχείο «%1» δεν σφραγίστηκε: %2")
                     .arg(shown(file), QString::fromStdString(problem)));
        return 1;
    }
    say(QStringLiteral("Το αρχείο «%1» πέρασε τον έλεγχο ακεραιότητας και σφραγίστηκε.")
            .arg(shown(file)));
    return 0;
}

QStringList copiesOf(const QString& file) {
    QDir folder(SafetyCopy::folderFor(file));
    QStringList names =
        folder.entryList({QStringLiteral("data-*.mdb")}, QDir::Files, QDir::Name | QDir::Reversed);
    static const QRegularExpression dated(QStringLiteral("^data-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    names.removeIf([](const QString& n) { return !dated.match(n).hasMatch(); });
    for (QString& n : names)
        n = folder.filePath(n);
    return names;
}

int copies(const QString& file) {
    const QStringList found = copiesOf(file);
    if (found.isEmpty()) {
        say(QStringLiteral("Δεν υπάρχει αντίγραφο ασφαλείας στον φάκελο «%1».")
                .arg(shown(SafetyCopy::folderFor(file))));
        return 0;
    }
    say(QStringLiteral("Αντίγραφα ασφαλείας στον φάκελο «%1», το νεότερο πρώτο:")
            .arg(shown(SafetyCopy::folderFor(file))));
    for (const QString& copy : found) {
        QString line = QFileInfo(copy).fileName() + QStringLiteral(": ");
        try {
            line += DataFileCheck::receiptsLine(copy);
        } catch (const std::exception& e) {
            line += QStringLiteral("δεν διαβάζεται (%1)").arg(QString::fromUtf8(e.what()));
        }
        say(line);
    }
    return 0;
}

bool syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

int restore(const QString& which, const QString& file) {
    QString copy = which;
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (day.match(which).hasMatch())
        copy = QDir(SafetyCopy::folderFor(file))
                   .filePath(QStringLiteral("data-") + which + QStringLiteral(".mdb"));
    if (!QFileInfo::exists(copy)) {
        complain(QStringLiteral("δεν υπάρχει το αντίγραφο «%1»· δείτε «marivelle-data copies».")
                     .arg(shown(copy)));
        return 2;
    }
    // The copy must be sound before anything is replaced.
    if (!DataFileCheck::isSound(copy)) {
        complain(QStringLiteral("το αντίγραφο «%1» είναι κατεστραμμένο· διαλέξτε άλλο.")
                     .arg(shown(copy)));
        return 1;
    }
    const QString kept = file + QStringLiteral(".before-restore-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(copy, partial) || !syncFile(partial)) {
        QFile::remove(partial);
        complain(QStringLiteral("το αντίγραφο δεν αντιγράφηκε δίπλα στο «%1»· ελέγξτε τον χώρο "
                                "και τα δικαιώματα του φακέλου.")
                     .arg(shown(file)));
        return 1;
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    {
        // Under the present file's write lock, so that no copy of the program is writing it.
        std::unique_ptr<DataFileCheck::WriteLock> present;
        if (QFileInfo::exists(file)) {
            present = std::make_unique<DataFileCheck::WriteLock>(file);
            // A second name for the present file; a copy where the disk has no such names.
            const bool keptAside = ::link(QFile::encodeName(file).constData(),
                                          QFile::encodeName(kept).constData()) == 0 ||
                                   (QFile::copy(file, kept) && syncFile(kept));
            if (!keptAside) {
                complain(QStringLiteral("το σημερινό αρχείο δεν φυλάχτηκε ως «%1»· τίποτα δεν "
                                        "άλλαξε.")
                             .arg(shown(kept)));
                QFile::remove(partial);
                return 1;
            }
        }
        if (std::rename(QFile::encodeName(partial).constData(),
                        QFile::encodeName(file).constData()) != 0) {
            complain(QStringLiteral("το αντίγραφο δεν μπήκε στη θέση του «%1».").arg(shown(file)));
            QFile::remove(partial);
            return 1;
        }
    }
    say(QStringLiteral("Το αρχείο «%1» επανήλθε από το αντίγραφο «%2».")
            .arg(shown(file), shown(copy)));
    if (QFileInfo::exists(kept))
        say(QStringLiteral("Το αρχείο που υπήρχε πριν φυλάχτηκε ως «%1».").arg(shown(kept)));
    // Receipts issued after the copy was taken come back from the record at once.
    Connection c;
    c.setUp(connectionStringOf(file));
    const ReceiptRecord::Outcome o = ReceiptRecord::reconcile(c);
    const QString told = o.message(file);
    say(told.isEmpty() ? QStringLiteral("Το ημερολόγιο αποδείξεων δεν είχε απόδειξη που να λείπει "
                                        "από το αντίγραφο.")
                       : told);
    return o.recordError.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    ChecksumVfs::install();
    try {
        if (command == u"restore") {
            if (args.isEmpty() || args.size() > 2)
                return usage();
            return restore(
                args[0],
                QFileInfo(args.size() > 1 ? args[1] : defaultDataFile()).absoluteFilePath());
        }
        if (args.size() > 1)
            return usage();
        const QString file =
            QFileInfo(args.isEmpty() ? defaultDataFile() : args[0]).absoluteFilePath();
        if (command == u"check")
            return check(file);
        if (command == u"seal")
            return seal(file);
        if (command == u"copies")
            return copies(file);
    } catch (const std::exception& e) {
        complain(StoreError::forPerson(e));
        return 1;
    }
    return usage();
}
