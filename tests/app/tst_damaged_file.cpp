#include "FileBytes.h"
#include "StartupFixture.h"

#include "data/ChecksumVfs.h"
#include "data/Connection.h"

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
        SQLite::Statement st(c->database(), sql.toStdString());
        return st.executeStep() ? QString::fromStdString(st.getColumn(0).getString()) : QString();
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
    return QString::fromStdString(ChecksumVfs::wholeFileCheck(db.connect()->handle()));
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
    // Ψ for Χ: the same length, still good Greek, a different customer.
    QTest::newRow("a letter of a customer's surname")
        << "text:Χατζηγεωργίου" << 1 << QByteArray("\xa8");
    QTest::newRow("a digit of her telephone") << "text:6941234567" << 4 << QByteArray("9");
    QTest::newRow("a receipt's amount") << "real:4321.5" << 0 << bigEndian(4821.5);
    QTest::newRow("an entry of the date index")
        << "page:APODEIKSEIS_DATE" << 4096 - 60 << QByteArray("2024");
    QTest::newRow("a table page's count of cells")
        << "page:STOIXEIA_PELATH" << 3 << QByteArray("\x00\x02", 2);
    QTest::newRow("header: reserved bytes") << "start" << 20 << QByteArray("\x00", 1);
    QTest::newRow("header: schema cookie") << "start" << 40 << QByteArray("\x00\x00\x00\x63", 4);
    QTest::newRow("header: page size") << "start" << 16 << QByteArray("\x20\x00", 2);
    QTest::newRow("header: format name") << "start" << 0 << QByteArray("X");
    QTest::newRow("the middle of the file") << "middle" << 0 << QByteArray("\xde\xad\xbe\xef");
}

// Damages the file as the row says; false when the place was not found.
bool damage(const TestDatabase& db) {
    QFETCH(QString, place);
    QFETCH(int, shift);
    QFETCH(QByteArray, bytes);
    const qint64 at = locate(db, place);
    return at >= 0 && overwrite(db.path(), at + shift, bytes);
}

} // namespace

class DamagedFileTest : public QObject {
    Q_OBJECT

private slots:
    void startUpEnds_data() { damageKinds(); }
    // Start-up ends with its line before any screen; the file is left as it was.
    void startUpEnds() {
        Startup s;
        s.setStoredCode("1234");
        s.tries = {"1234"};
        fill(s.db);
        QVERIFY(damage(s.db));
        const QByteArray before = fileBytes(s.db.path());
        auto form = s.start();
        QVERIFY(form->isEnding());
        QVERIFY2(!form->startupError().isEmpty(), "start-up went on over a damaged file");
        QCOMPARE(s.journal, (QStringList{"TForm4", "message:Important Information"}));
        QVERIFY(fileBytes(s.db.path()) == before);
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
    // A file written without the checksums reads as damaged until sealed again; a file that
    // fails SQLite's own check is not sealed.
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
        QProcess makedb;
        makedb.start(QFileInfo(MARIVELLE_SHIPPED_DB).dir().filePath("makedb"),
                     {"--reseal", db.path()});
        QVERIFY(makedb.waitForFinished(120000));
        QCOMPARE(makedb.exitCode(), afterwards.isEmpty() ? 1 : 0);
        if (afterwards.isEmpty()) {
            QVERIFY(fileBytes(db.path()) == before);
            return;
        }
        QCOMPARE(fileBytes(db.path()).at(20), char(ChecksumVfs::kReservedBytes));
        QCOMPARE(wholeFileFaults(db), QString());
        QCOMPARE(db.scalar("SELECT PASSWORD FROM SECURITY"), afterwards);
    }
};

QTEST_MAIN(DamagedFileTest)
#include "tst_damaged_file.moc"
