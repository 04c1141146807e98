#include "StartupFixture.h"

#include "data/ChecksumVfs.h"
#include "data/Connection.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QtEndian>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cstring>

namespace {

// A file with a customer, two hundred receipts and their collections.
void fill(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,THLEFWNO_1) VALUES('Δέσποινα',"
        "'Χατζηγεωργίου','6941234567');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<200) "
        "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,POSO,VAT,SYNOLIKO_POSO,"
        "PERIGRAFH) SELECT i, date('2025-01-01','+'||i||' days'), 'Όνομα'||i, 'Επώνυμο'||i, "
        "CASE i WHEN 77 THEN 4321.5 ELSE 10.25+i END, 2.4, 12.65+i, 'Βαφή μαλλιών' FROM n;"
        "INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
        "SELECT 1,HMEROMHNIA,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO FROM APODEIKSEIS;"
        "INSERT INTO LAST_APODEIKSH VALUES(201)"));
}

// What the screens read, one answer each: the customer, every amount, a search by date
// through its index, the access code.
const QStringList kReads = {
    QStringLiteral("SELECT EPWNYMO || ' ' || THLEFWNO_1 FROM STOIXEIA_PELATH"),
    QStringLiteral("SELECT group_concat(POSO, ';') FROM APODEIKSEIS"),
    QStringLiteral("SELECT count(*) || ':' || sum(POSO) FROM APODEIKSEIS "
                   "WHERE HMEROMHNIA >= '2025-05-01'"),
    QStringLiteral("SELECT group_concat(POSO, ';') FROM EISPRAKSH_PELATH WHERE ID = 1"),
    QStringLiteral("SELECT PASSWORD FROM SECURITY"),
};

// A write any screen could make; it goes through on a sound file.
const QString kWrite = QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2026-03-15','σήμερα')");

// The answer of one read on a connection of its own, or why there is none.
QString readOn(const TestDatabase& db, const QString& sql, bool* failed) {
    *failed = false;
    try {
        Connection c;
        c.setUp(db.connectionString());
        SQLite::Statement st(c.database(), sql.toStdString());
        return st.executeStep() ? QString::fromStdString(st.getColumn(0).getString()) : QString();
    } catch (const std::exception& e) {
        *failed = true;
        return QString::fromUtf8(e.what());
    }
}

// A salon's older file: the same tables, made without room for the checksums.
void makeOlderFile(const TestDatabase& db) {
    QFile schema(QStringLiteral(MARIVELLE_SOURCE_DIR "/resources/schema.sql"));
    QVERIFY(schema.open(QIODevice::ReadOnly));
    QVERIFY(QFile::remove(db.path()));
    SQLite::Database h(db.path().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    h.exec(schema.readAll().toStdString());
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bigEndianDouble(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    QByteArray out(8, '\0');
    qToBigEndian(bits, out.data());
    return out;
}

// Where in the file a place named in a table row lies: "text:…" and "real:…" where those
// bytes are stored, "page:NAME" the first page of that table or index, "at:N" the byte N,
// "middle" half way through.
qint64 locate(const TestDatabase& db, const QString& place) {
    const QByteArray bytes = fileBytes(db.path());
    const QString what = place.section(u':', 1);
    if (place.startsWith(u"text:"))
        return bytes.indexOf(what.toUtf8());
    if (place.startsWith(u"real:"))
        return bytes.indexOf(bigEndianDouble(what.toDouble()));
    if (place.startsWith(u"page:")) {
        const int page = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE "
                                                  "name='%1'")
                                       .arg(what))
                             .toInt();
        const int size = db.scalar(QStringLiteral("PRAGMA page_size")).toInt();
        return page > 1 ? qint64(page - 1) * size : -1;
    }
    if (place.startsWith(u"at:"))
        return what.toLongLong();
    return bytes.size() / 2;
}

void overwrite(const QString& path, qint64 offset, const QByteArray& with) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(offset));
    QCOMPARE(f.write(with), with.size());
}

void damageKinds() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QByteArray>("bytes");
    // Ψ for Χ: the same length, still good Greek, a different customer.
    QTest::newRow("a letter of a customer's surname")
        << QStringLiteral("text:Χατζηγεωργίου") << 1 << QByteArray("\xa8");
    QTest::newRow("a digit of her telephone")
        << QStringLiteral("text:6941234567") << 4 << QByteArray("9");
    QTest::newRow("a receipt's amount")
        << QStringLiteral("real:4321.5") << 0 << bigEndianDouble(4821.5);
    QTest::newRow("an entry of the date index")
        << QStringLiteral("page:APODEIKSEIS_DATE") << 4096 - 60 << QByteArray("2024");
    QTest::newRow("a table page's count of cells")
        << QStringLiteral("page:STOIXEIA_PELATH") << 3 << QByteArray("\x00\x02", 2);
    QTest::newRow("header: reserved bytes")
        << QStringLiteral("at:20") << 0 << QByteArray("\x00", 1);
    QTest::newRow("header: schema cookie")
        << QStringLiteral("at:40") << 0 << QByteArray("\x00\x00\x00\x63", 4);
    QTest::newRow("header: page size") << QStringLiteral("at:16") << 0 << QByteArray("\x20\x00", 2);
    QTest::newRow("header: format name") << QStringLiteral("at:0") << 0 << QByteArray("X");
    QTest::newRow("the middle of the file")
        << QStringLiteral("middle") << 0 << QByteArray("\xde\xad\xbe\xef");
}

// Damages the file as the row says; false when the place was not found.
bool damage(const TestDatabase& db) {
    QFETCH(QString, place);
    QFETCH(int, shift);
    QFETCH(QByteArray, bytes);
    const qint64 at = locate(db, place);
    if (at < 0)
        return false;
    overwrite(db.path(), at + shift, bytes);
    return fileBytes(db.path()).mid(at + shift, bytes.size()) == bytes;
}

} // namespace

class DamagedFileTest : public QObject {
    Q_OBJECT

private slots:
    void startUpEnds_data() { damageKinds(); }
    void startUpEnds();
    void readsFailOrAreRight_data() { damageKinds(); }
    void readsFailOrAreRight();
    void ownWritesKeepTheChecksums_data();
    void ownWritesKeepTheChecksums();
    void reseal_data();
    void reseal();
};

// Start-up ends with its line before any screen; the file is left as it was.
void DamagedFileTest::startUpEnds() {
    Startup s;
    s.setStoredCode(QStringLiteral("1234"));
    s.tries = {QStringLiteral("1234")};
    fill(s.db);
    QVERIFY(damage(s.db));
    const QByteArray before = digest(s.db.path());
    auto form = s.start();
    QVERIFY(form->isEnding());
    QVERIFY2(!form->startupError().isEmpty(), "start-up went on over a damaged file");
    QCOMPARE(s.journal, (QStringList{QStringLiteral("TForm4"),
                                     QStringLiteral("message:Important Information")}));
    QCOMPARE(digest(s.db.path()), before);
}

// Damage found while the program runs: each read gives the right answer or an error, never
// another answer; once damage is seen, nothing is written to the file.
void DamagedFileTest::readsFailOrAreRight() {
    TestDatabase db;
    fill(db);
    QStringList right;
    bool failed = false;
    for (const QString& sql : kReads)
        right << readOn(db, sql, &failed);
    MV_VERIFY_NOTHROW(db.connect()->executeNative(kWrite));
    QVERIFY(damage(db));
    const QByteArray before = digest(db.path());

    bool anyFailed = false;
    for (int i = 0; i < kReads.size(); ++i) {
        const QString got = readOn(db, kReads[i], &failed);
        if (!failed)
            QCOMPARE(got, right[i]);
        anyFailed |= failed;
    }
    const auto writeRefused = [&] {
        try {
            db.connect()->executeNative(kWrite);
            return false;
        } catch (const std::exception&) {
            return true;
        }
    };
    if (anyFailed)
        QVERIFY2(writeRefused(), "a write went through after a read found damage");
    {
        Connection c;
        try {
            c.setUp(db.connectionString());
            QVERIFY(!ChecksumVfs::wholeFileCheck(c.handle()).empty());
        } catch (const std::exception&) {
            // Not opened at all: as good as reported.
        }
    }
    QVERIFY2(writeRefused(), "a write went through after the whole-file check found damage");
    QCOMPARE(digest(db.path()), before);
    QVERIFY(!QFile::exists(db.path() + QStringLiteral("-journal")));
}

void DamagedFileTest::ownWritesKeepTheChecksums_data() {
    QTest::addColumn<int>("reserved");
    QTest::newRow("the shipped file") << ChecksumVfs::kReservedBytes;
    QTest::newRow("an older file without reserved bytes") << 0;
}

// The program's own writes (rows added, changed, deleted, in and out of transactions, the
// file grown and shrunk) read back whole and pass the start-up check.
void DamagedFileTest::ownWritesKeepTheChecksums() {
    QFETCH(int, reserved);
    TestDatabase db;
    if (reserved == 0)
        makeOlderFile(db);
    fill(db);
    {
        auto c = db.connect();
        Transaction t(*c);
        c->executeNative(QStringLiteral("UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=5"));
        c->executeNative(QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=5"));
        t.commit();
        c->executeNative(QStringLiteral("DELETE FROM APODEIKSEIS WHERE AR_APODEIKSHS > 150"));
        c->executeNative(QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS > 150"));
        c->executeNative(QStringLiteral("UPDATE LAST_APODEIKSH SET [LAST]=151"));
        c->executeNative(QStringLiteral("VACUUM"));
    }
    QCOMPARE(fileBytes(db.path()).at(20), char(reserved));
    QCOMPARE(receiptFaults(db.path()), QStringList());
    auto c = db.connect();
    QCOMPARE(QString::fromStdString(ChecksumVfs::wholeFileCheck(c->handle())), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) || ':' || sum(EGKYRH) FROM APODEIKSEIS")),
             QStringLiteral("150:149"));
}

void DamagedFileTest::reseal_data() {
    QTest::addColumn<QString>("edit"); // run without the checksums
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("afterwards"); // the reseal refused: empty
    QTest::newRow("a row changed by another program")
        << QStringLiteral("UPDATE SECURITY SET PASSWORD='Κρίνος'") << 0 << QStringLiteral("Κρίνος");
    QTest::newRow("an older file without reserved bytes")
        << QStringLiteral("older") << 0 << QStringLiteral("58204613");
    QTest::newRow("a broken index") << QStringLiteral("PRAGMA writable_schema=ON; UPDATE "
                                                      "sqlite_master SET rootpage=rootpage+1 "
                                                      "WHERE name='APODEIKSEIS_NUMBER'")
                                    << 1 << QString();
}

// A file written without the checksums reads as damaged until sealed again; a file that
// fails SQLite's own check is not sealed.
void DamagedFileTest::reseal() {
    QFETCH(QString, edit);
    QFETCH(int, exitCode);
    QFETCH(QString, afterwards);
    TestDatabase db;
    if (edit == u"older") {
        makeOlderFile(db);
        edit = QStringLiteral("UPDATE SECURITY SET PASSWORD=PASSWORD");
    }
    fill(db);
    {
        sqlite3* h = nullptr;
        QCOMPARE(sqlite3_open_v2(db.path().toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, "unix"),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(h, edit.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(h);
    }
    // Pages written without the checksums: damage to the program, but for an older file.
    bool failed = false;
    readOn(db, QStringLiteral("SELECT PASSWORD FROM SECURITY"), &failed);
    QCOMPARE(failed, afterwards != u"58204613");
    const QByteArray before = digest(db.path());
    QProcess makedb;
    makedb.start(QFileInfo(QStringLiteral(MARIVELLE_SHIPPED_DB)).dir().filePath("makedb"),
                 {QStringLiteral("--reseal"), db.path()});
    QVERIFY(makedb.waitForFinished(120000));
    QCOMPARE(makedb.exitCode(), exitCode);
    if (afterwards.isEmpty()) {
        QCOMPARE(digest(db.path()), before);
        return;
    }
    QCOMPARE(fileBytes(db.path()).at(20), char(ChecksumVfs::kReservedBytes));
    auto c = db.connect();
    QCOMPARE(QString::fromStdString(ChecksumVfs::wholeFileCheck(c->handle())), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")), afterwards);
}

QTEST_MAIN(DamagedFileTest)
#include "tst_damaged_file.moc"
