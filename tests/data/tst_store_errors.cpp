#include "FileBytes.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Store.h"
#include "data/StoreError.h"
#include "data/Values.h"

#include <QTest>

#include <sqlite3.h>

#include <functional>

using Kind = StoreError::Kind;
using Provoke = std::function<void(TestDatabase&)>;
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Provoke)

// The store's errors as the desk reads them.
class TestStoreErrors : public QObject {
    Q_OBJECT

private slots:
    // Real errors of a real file: each reads as its Greek sentence, the store's own text on
    // the second line.
    void realErrors_data() {
        QTest::addColumn<Provoke>("provoke");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("storeText"); // a piece of the second line
        QTest::newRow("locked by another program") << Provoke([](TestDatabase& db) {
            auto holder = db.connect();
            holder->executeNative("BEGIN EXCLUSIVE");
            Connection impatient; // waits a second for the lock
            impatient.setConnectionString(db.connectionString());
            impatient.setCommandTimeout(1);
            impatient.open();
            impatient.executeNative("SELECT count(*) FROM SECURITY");
        }) << Kind::Busy << "database is locked";
        QTest::newRow("table in use by the same connection") << Provoke([](TestDatabase& db) {
            auto c = db.connect();
            const auto reading = c->store().prepare("SELECT * FROM SECURITY");
            reading->next();
            c->executeNative("DROP TABLE SECURITY");
        }) << Kind::Busy << "locked";
        QTest::newRow("disk full") << Provoke([](TestDatabase& db) {
            auto c = db.connect();
            c->executeNative("PRAGMA max_page_count=" + db.scalar("PRAGMA page_count"));
            c->executeNative("INSERT INTO SHMEIWSEIS(PERIGRAFH) VALUES(zeroblob(100000))");
        }) << Kind::Full << "full";
        QTest::newRow("file only for reading") << Provoke([](TestDatabase& db) {
            auto c = db.connect();
            c->executeNative("PRAGMA query_only=1");
            c->execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES(\"x\")");
        }) << Kind::ReadOnly << "readonly";
        QTest::newRow("file missing") << Provoke([](TestDatabase& db) {
            QFile::remove(db.path());
            db.connect();
        }) << Kind::CannotOpen << "unable to open";
        QTest::newRow("no file named") << Provoke([](TestDatabase&) {
            Connection c;
            c.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\"");
            c.open();
        }) << Kind::CannotOpen << "Data Source";
        QTest::newRow("not a data file") << Provoke([](TestDatabase& db) {
            QFile::resize(db.path(), 0);
            overwrite(db.path(), 0, QByteArray("Κείμενο, όχι αρχείο δεδομένων.\n").repeated(300));
            db.connect();
        }) << Kind::Damaged << "not a database";
        // A b-tree page of nonsense, which the page checksum reports before the store reads it.
        QTest::newRow("damaged page") << Provoke([](TestDatabase& db) {
            overwrite(db.path(), rootPageAt(db, "STOIXEIA_PELATH"), QByteArray(64, '\x7f'));
            db.connect()->executeNative("SELECT * FROM STOIXEIA_PELATH");
        }) << Kind::Damaged << "disk I/O error";
        QTest::newRow("key already there") << Provoke([](TestDatabase& db) {
            db.exec("INSERT INTO SHMEIWSEIS(ID, TITLOS) VALUES(7, 'α')");
            db.connect()->executeNative("INSERT INTO SHMEIWSEIS(ID, TITLOS) VALUES(7, 'β')");
        }) << Kind::Refused << "UNIQUE constraint failed: SHMEIWSEIS.ID";
        QTest::newRow("trigger refusal keeps its text") << Provoke([](TestDatabase& db) {
            db.exec("CREATE TRIGGER no BEFORE INSERT ON EKSODA BEGIN "
                    "SELECT RAISE(ABORT, 'Τα έξοδα είναι κλειδωμένα'); END");
            db.connect()->execute("INSERT INTO EKSODA(POSO) VALUES(1)");
        }) << Kind::Refused << "Τα έξοδα είναι κλειδωμένα";
        QTest::newRow("statement the store cannot run")
            << Provoke([](TestDatabase& db) { db.connect()->execute("SELECT * FROM OXI_PINAKAS"); })
            << Kind::Statement << "no such table: OXI_PINAKAS";
        QTest::newRow("closed connection")
            << Provoke([](TestDatabase&) { Connection().executeNative("SELECT 1"); })
            << Kind::Closed << "closed";
        QTest::newRow("parameter past the statement's") << Provoke([](TestDatabase& db) {
            db.connect()->store().prepare("SELECT ?")->bind(2, 1);
        }) << Kind::Statement << "column index out of range";
        QTest::newRow("write begun inside a write") << Provoke([](TestDatabase& db) {
            auto c = db.connect();
            Transaction outer(*c);
            Transaction inner(*c);
        }) << Kind::Statement << "within a transaction";
        QTest::newRow("commit after the connection closed") << Provoke([](TestDatabase& db) {
            auto c = db.connect();
            Transaction t(*c);
            c->close();
            t.commit();
        }) << Kind::Closed << "closed";
    }
    void realErrors() {
        QFETCH(Provoke, provoke);
        QFETCH(Kind, kind);
        QFETCH(QString, storeText);
        TestDatabase db;
        try {
            provoke(db);
            QFAIL("no error");
        } catch (const std::exception& e) {
            // One exception type for every store failure, carrying its kind and text.
            const auto* failure = dynamic_cast<const StoreError::Failure*>(&e);
            QVERIFY2(failure, e.what());
            QCOMPARE(failure->kind(), kind);
            QCOMPARE(failure->text(), QString::fromUtf8(e.what()));
            const QString shown = StoreError::forPerson(e), second = shown.section(u'\r', 1);
            QCOMPARE(shown.section(u'\r', 0, 0), StoreError::sentence(kind));
            QCOMPARE(second, QString::fromUtf8(e.what()));
            QVERIFY2(second.contains(storeText, Qt::CaseInsensitive), qPrintable(second));
        }
    }

    // Extended codes that no plain file here gives at will (the page checksum and the
    // folder without write permission are provoked for real above and in the read-only test).
    void extendedCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("write failed") << SQLITE_IOERR_WRITE << Kind::Io;
        QTest::newRow("no permission") << SQLITE_PERM << Kind::ReadOnly;
        QTest::newRow("busy snapshot") << SQLITE_BUSY_SNAPSHOT << Kind::Busy;
        QTest::newRow("damaged index") << SQLITE_CORRUPT_INDEX << Kind::Damaged;
        QTest::newRow("wrapper's own, no code") << -1 << Kind::Other;
    }
    void extendedCodes() {
        QFETCH(int, code);
        QFETCH(Kind, kind);
        QCOMPARE(StoreError::kindOf(code), kind);
    }

    // The program's own messages reach the person untouched.
    void ownMessagesStay_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("criteria") << "Λανθασμένα κριτήρια.";
        QTest::newRow("typed date") << "Η τιμή \"31/2\" δεν είναι έγκυρη ημερομηνία.";
        QTest::newRow("report file") << "The following reporting project does not exist:\r\"x\"";
    }
    void ownMessagesStay() {
        QFETCH(QString, text);
        QCOMPARE(StoreError::forPerson(UserError(text)), text);
        QCOMPARE(StoreError::forPerson(InputError(text)), text);
    }
    void busySentenceIsExact() {
        QCOMPARE(StoreError::sentence(Kind::Busy),
                 "Το αρχείο δεδομένων χρησιμοποιείται από άλλο πρόγραμμα· δοκιμάστε ξανά σε "
                 "λίγο.");
    }
};

QTEST_GUILESS_MAIN(TestStoreErrors)
#include "tst_store_errors.moc"
