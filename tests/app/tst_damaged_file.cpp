#include "FileBytes.h"
#include "StartupFixture.h"

#include "data/ChecksumVfs.h"
#include "data/Connection.h"
#include "data/DataFileCheck.h"
#include "data/SqliteStore.h"
#include "data/StoreError.h"

#include <QProcess>
#include <QtEndian>

#include <SQLiteCpp/SQLiteCpp.h>

#include <optional>

namespace {

// A file with a customer, two hundred receipts and their collections.
void fill(const TestDatabase& db) {
    db.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,THLEFWNO_1) VALUES('Δέσποινα',"
            "'Χατζηγεωργίου','6941234567');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<200) "
            "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,POSO,VAT,SYNOLIKO_POSO,"
            "PERIGRAFH) SELECT i, date('2025-01-01','+'||i||' days'), 'Όνομα'||i, 'Επώνυμο'||i, "
            "CASE i WHEN 77 THEN 4321.5 ELSE 10.25+i END, 2.4, 12.65+i, 'Βαφή μαλλιών' FROM n;"
            "INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
            "SELECT 1,HMEROMHNIA,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO FROM APODEIKSEIS;"
            "INSERT INTO LAST_APODEIKSH VALUES(201)");
}

// What the screens read, one answer each: the customer, every amount, a search by date
// through its index, the access code.
const QStringList kReads = {
    "SELECT EPWNYMO || ' ' || THLEFWNO_1 FROM STOIXEIA_PELATH",
    "SELECT group_concat(POSO, ';') FROM APODEIKSEIS",
    "SELECT count(*) || ':' || sum(POSO) FROM APODEIKSEIS "
    "WHERE HMEROMHNIA >= '2025-05-01'",
    "SELECT group_concat(POSO, ';') FROM EISPRAKSH_PELATH WHERE ID = 1",
    "SELECT PASSWORD FROM SECURITY",
};

// The answer of one read on a connection of its own; none when the read fails.
std::optional<QString> readOn(const TestDatabase& db, const QString& sql) {
    try {
        auto c = db.connect();
        const auto st = c->store().prepare(sql);
        return st->next() ? QString::fromUtf8(st->bytes(0)) : QString();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A write any screen could make; it goes through on a sound file.
bool writeRefused(const TestDatabase& db) {
    try {
        db.connect()->executeNative("INSERT INTO YPENTHIMISEIS VALUES('2026-03-15','σήμερα')");
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

QString wholeFileFaults(const TestDatabase& db) {
    return QString::fromStdString(
        ChecksumVfs::wholeFileCheck(SqliteStore::of(*db.connect()).handle()));
}

// A salon's older file: the same tables, made without room for the checksums.
void makeOlderFile(const TestDatabase& db) {
    const QByteArray schema = fileBytes(MARIVELLE_SOURCE_DIR "/resources/schema.sql");
    QVERIFY(!schema.isEmpty() && QFile::remove(db.path()));
    SQLite::Database(db.path().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
        .exec(schema.toStdString());
}

QByteArray bigEndian(double v) {
    const double swapped = qToBigEndian(v);
    return QByteArray(reinterpret_cast<const char*>(&swapped), sizeof swapped);
}

// Where in the file a place named in a table row lies: "text:…" and "real:…" where those
// bytes are stored, "page:NAME" the first page of that table or index, "middle" half way
// through, "start" the file's first byte.
qint64 locate(const TestDatabase& db, const QString& place) {
    const QByteArray bytes = fileBytes(db.path());
    const QString what = place.section(u':', 1);
    if (place.startsWith(u"text:"))
        return bytes.indexOf(what.toUtf8());
    if (place.startsWith(u"real:"))
        return bytes.indexOf(bigEndian(what.toDouble()));
    if (place.startsWith(u"page:"))
        return rootPageAt(db, what);
    return place == u"middle" ? bytes.size() / 2 : 0;
}

void damageKinds() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("edit");    // run by another program instead of a damage
    QTest::addColumn<QString>("outcome"); // at start-up: starts, told (changed) or refused
    const auto row = [](const char* tag, const char* place, int shift, const QByteArray& bytes) {
        QTest::newRow(tag) << QString(place) << shift << bytes << QString() << QString("refused");
    };
    // Ψ for Χ: the same length, still good Greek, a different customer.
    row("a letter of a customer's surname", "text:Χατζηγεωργίου", 1, QByteArray("\xa8"));
    row("a digit of her telephone", "text:6941234567", 4, QByteArray("9"));
    row("a receipt's amount", "real:4321.5", 0, bigEndian(4821.5));
    row("an entry of the date index", "page:APODEIKSEIS_DATE", 4096 - 60, QByteArray("2024"));
    row("a table page's count of cells", "page:STOIXEIA_PELATH", 3, QByteArray("\x00\x02", 2));
    row("header: reserved bytes", "start", 20, QByteArray("\x00", 1));
    row("header: schema cookie", "start", 40, QByteArray("\x00\x00\x00\x63", 4));
    row("header: page size", "start", 16, QByteArray("\x20\x00", 2));
    row("header: format name", "start", 0, QByteArray("X"));
    row("the middle of the file", "middle", 0, QByteArray("\xde\xad\xbe\xef"));
}

// The file as start-up may meet it besides damage: sealed, edited by another program, cut.
void fileStates() {
    damageKinds();
    const auto row = [](const char* tag, const char* place, int shift, const char* edit,
                        const char* outcome) {
        QTest::newRow(tag) << QString(place) << shift << QByteArray() << QString(edit)
                           << QString(outcome);
    };
    row("sealed", "", 0, "", "starts");
    row("a name changed by another program", "", 0,
        "UPDATE STOIXEIA_PELATH SET ONOMA='Μαρίνα' WHERE ID=1", "told");
    row("rows added and deleted by another program", "", 0,
        "INSERT INTO SHMEIWSEIS(TITLOS) VALUES('x'); DELETE FROM EKSODA", "told");
    row("VACUUM by another program", "", 0, "DELETE FROM YPENTHIMISEIS; VACUUM", "told");
    row("a receipt deleted by another program with its collection", "", 0,
        "DELETE FROM APODEIKSEIS WHERE AR_APODEIKSHS=5; DELETE FROM EISPRAKSH_PELATH WHERE "
        "AR_APODEIKSHS=5",
        "told");
    row("a collection deleted by another program", "", 0,
        "DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=5", "refused");
    row("an index broken by another program", "", 0,
        "PRAGMA writable_schema=ON; UPDATE sqlite_master SET rootpage=rootpage+1 WHERE "
        "name='APODEIKSEIS_NUMBER'",
        "refused");
    row("truncated to a whole page", "truncate", 2, "", "refused");
    row("truncated in the middle of a page", "truncate", 3 * 4096 + 100, "", "refused");
    row("left in WAL mode by another program", "", 0,
        "PRAGMA journal_mode=WAL; UPDATE STOIXEIA_PELATH SET ONOMA='Μαρίνα'", "told");
    // A salon's file sealed before the first page kept its change counter.
    row("first page sealed the older way", "older seal", 0, "", "starts");
}

// Damages the file as the row says (or has another program edit it); false when the place
// was not found.
bool damage(const TestDatabase& db) {
    QFETCH(QString, place);
    QFETCH(int, shift);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, edit);
    if (!edit.isEmpty()) {
        SQLite::Database(db.path().toStdString(), SQLite::OPEN_READWRITE, 0, "unix")
            .exec(edit.toStdString());
        return true;
    }
    if (place.isEmpty())
        return true;
    if (place == u"older seal") {
        const int size = db.scalar("PRAGMA page_size").toInt();
        const QByteArray page = fileBytes(db.path()).left(size);
        const quint64 sum = qToBigEndian(ChecksumVfs::pageChecksum(
            reinterpret_cast<const unsigned char*>(page.constData()), size, 1));
        return overwrite(db.path(), size - ChecksumVfs::kReservedBytes,
                         QByteArray(reinterpret_cast<const char*>(&sum), sizeof sum));
    }
    if (place == u"truncate")
        return QFile::resize(db.path(), shift < 100 ? shift * 4096 : shift);
    const qint64 at = locate(db, place);
    return at >= 0 && overwrite(db.path(), at + shift, bytes);
}

} // namespace

class DamagedFileTest : public QObject {
    Q_OBJECT

private slots:
    void startUp_data() { fileStates(); }
    // Start-up uses a file another program edited once it has checked it, and says so once;
    // damage ends it with a box that says what to do, the file left as it was.
    void startUp() {
        QFETCH(QString, outcome);
        Startup s;
        s.setStoredCode("1234");
        fill(s.db);
        QVERIFY(damage(s.db));
        const QByteArray before = fileBytes(s.db.path());
        s.tries = {"1234"};
        auto form = s.start();
        const QStringList notice{"TForm4", "message:Important Information"};
        if (outcome == u"refused") {
            QVERIFY2(form->isEnding(), "start-up went on over a damaged file");
            QVERIFY(!form->startupError().isEmpty());
            QCOMPARE(s.journal.mid(0, 2), notice);
            QCOMPARE(s.journal.size(), 3);
            const Messages::Shown box = Messages::shown().last();
            QCOMPARE(box.kind, Messages::Kind::Error);
            QVERIFY2(box.text.startsWith("Το Marivelle δεν μπορεί να ξεκινήσει με το αρχείο "
                                         "δεδομένων") &&
                         box.text.contains("Αντίγραφα") && box.text.contains("marivelle-data") &&
                         box.text.count(u'\r') == 1,
                     qPrintable(box.text));
            QVERIFY(fileBytes(s.db.path()) == before);
            return;
        }
        QVERIFY2(!form->isEnding(), qPrintable(form->startupError()));
        const QString changed = "message:Το αρχείο δεδομένων είχε αλλάξει από άλλο πρόγραμμα";
        QCOMPARE(s.journal.mid(0, 2), notice);
        QCOMPARE(s.journal.size() > 2 && s.journal[2].startsWith(changed), outcome == u"told");
        QCOMPARE(wholeFileFaults(s.db), QString());
        // Told once: the next start finds the file sealed.
        form.reset();
        s.journal.clear();
        s.tries = {"1234"};
        form = s.start();
        QVERIFY(!form->isEnding());
        QVERIFY(!s.journal.join(u'|').contains(changed));
    }

    void readsFailOrAreRight_data() { damageKinds(); }
    // Damage found while the program runs: each read gives the right answer or an error,
    // never another answer; once damage is seen, nothing is written to the file.
    void readsFailOrAreRight() {
        TestDatabase db;
        fill(db);
        QStringList right;
        for (const QString& sql : kReads)
            right << readOn(db, sql).value_or("<failed on a sound file>");
        QVERIFY(!writeRefused(db));
        QVERIFY(damage(db));
        const QByteArray before = fileBytes(db.path());

        bool anyFailed = false;
        for (int i = 0; i < kReads.size(); ++i) {
            const std::optional<QString> got = readOn(db, kReads[i]);
            if (got)
                QCOMPARE(*got, right[i]);
            anyFailed |= !got;
        }
        if (anyFailed)
            QVERIFY2(writeRefused(db), "a write went through after a read found damage");
        try {
            QVERIFY(!wholeFileFaults(db).isEmpty());
        } catch (const std::exception&) {
            // Not opened at all: as good as reported.
        }
        QVERIFY2(writeRefused(db), "a write went through after the whole-file check found damage");
        QVERIFY(fileBytes(db.path()) == before);
        QVERIFY(!QFile::exists(db.path() + "-journal"));
    }

    void ownWritesKeepTheChecksums_data() {
        QTest::addColumn<int>("reserved");
        QTest::newRow("the shipped file") << ChecksumVfs::kReservedBytes;
        QTest::newRow("an older file without reserved bytes") << 0;
    }
    // The program's own writes (rows added, changed, deleted, in and out of transactions, the
    // file grown and shrunk) read back whole and pass the start-up check.
    void ownWritesKeepTheChecksums() {
        QFETCH(int, reserved);
        TestDatabase db;
        if (reserved == 0)
            makeOlderFile(db);
        fill(db);
        {
            auto c = db.connect();
            Transaction t(*c);
            c->executeNative("UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=5");
            c->executeNative("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=5");
            t.commit();
            c->executeNative("DELETE FROM APODEIKSEIS WHERE AR_APODEIKSHS > 150; DELETE FROM "
                             "EISPRAKSH_PELATH WHERE AR_APODEIKSHS > 150; UPDATE LAST_APODEIKSH "
                             "SET [LAST]=151; VACUUM");
        }
        QCOMPARE(fileBytes(db.path()).at(20), char(reserved));
        QCOMPARE(receiptFaults(db.path()), QStringList());
        QCOMPARE(wholeFileFaults(db), QString());
        QCOMPARE(db.scalar("SELECT count(*) || ':' || sum(EGKYRH) FROM APODEIKSEIS"), "150:149");
    }

    // Another program writing while the program has the file open: the next read says so
    // (not "damaged"), nothing more is written, and the next start checks and seals it.
    void changedWhileOpen() {
        TestDatabase db;
        fill(db);
        auto open = db.connect();
        QCOMPARE(readOn(db, kReads[0]).value_or("failed"), "Χατζηγεωργίου 6941234567");
        MV_VERIFY_NOTHROW(
            SQLite::Database(db.path().toStdString(), SQLite::OPEN_READWRITE, 0, "unix")
                .exec("UPDATE STOIXEIA_PELATH SET ONOMA='Μαρίνα'"));
        QString told;
        try {
            open->store().prepare("SELECT count(*) FROM STOIXEIA_PELATH")->next();
        } catch (const std::exception& e) {
            told = StoreError::forPerson(e);
        }
        QVERIFY2(told.startsWith("Το αρχείο δεδομένων άλλαξε από άλλο πρόγραμμα όσο ήταν ανοιχτό"),
                 qPrintable(told));
        const QByteArray before = fileBytes(db.path());
        QVERIFY(writeRefused(db));
        QVERIFY(fileBytes(db.path()) == before);
        open.reset();
        QStringList notes;
        MV_VERIFY_NOTHROW(notes = DataFileCheck::atStart(db.connectionString()));
        QCOMPARE(notes.size(), 1);
        QVERIFY(!writeRefused(db));
        QCOMPARE(db.scalar("SELECT ONOMA FROM STOIXEIA_PELATH"), "Μαρίνα");
    }

    void reseal_data() {
        QTest::addColumn<bool>("older");         // made without reserved bytes
        QTest::addColumn<QString>("edit");       // run without the checksums
        QTest::addColumn<QString>("afterwards"); // the reseal refused: empty
        QTest::newRow("a row changed by another program")
            << false << "UPDATE SECURITY SET PASSWORD='Κρίνος'"
            << "Κρίνος";
        QTest::newRow("an older file without reserved bytes")
            << true << "UPDATE SECURITY SET PASSWORD=PASSWORD"
            << "58204613";
        QTest::newRow("a broken index") << false
                                        << "PRAGMA writable_schema=ON; UPDATE sqlite_master "
                                           "SET rootpage=rootpage+1 WHERE name='APODEIKSEIS_NUMBER'"
                                        << "";
    }
    // The shipped tool: a file written without the checksums is sound to "check" when SQLite's
    // own check passes, and "seal" seals it; a file that fails that check is refused by both.
    void reseal() {
        QFETCH(bool, older);
        QFETCH(QString, edit);
        QFETCH(QString, afterwards);
        TestDatabase db;
        if (older)
            makeOlderFile(db);
        fill(db);
        MV_VERIFY_NOTHROW(
            SQLite::Database(db.path().toStdString(), SQLite::OPEN_READWRITE, 0, "unix")
                .exec(edit.toStdString()));
        // Pages written without the checksums: damage to the program, but for an older file.
        QCOMPARE(readOn(db, "SELECT PASSWORD FROM SECURITY").has_value(), older);
        const QByteArray before = fileBytes(db.path());
        const int sound = afterwards.isEmpty() ? 1 : 0;
        QCOMPARE(runDataTool({"check", db.path()}), sound);
        QCOMPARE(runDataTool({"seal", db.path()}), sound);
        if (afterwards.isEmpty()) {
            QVERIFY(fileBytes(db.path()) == before);
            return;
        }
        QCOMPARE(fileBytes(db.path()).at(20), char(ChecksumVfs::kReservedBytes));
        QCOMPARE(wholeFileFaults(db), QString());
        QCOMPARE(runDataTool({"check", db.path()}), 0);
        QCOMPARE(db.scalar("SELECT PASSWORD FROM SECURITY"), afterwards);
    }
};

QTEST_MAIN(DamagedFileTest)
#include "tst_damaged_file.moc"
