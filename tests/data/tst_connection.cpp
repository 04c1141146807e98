#include "TestSupport.h"

#include "data/BusyWait.h"
#include "data/Connection.h"
#include "data/DataSet.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <functional>

using TransactionWrite = std::function<void(Connection&, Transaction&)>;
Q_DECLARE_METATYPE(TransactionWrite)

class TestConnection : public QObject {
    Q_OBJECT

    static QByteArray digest(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private slots:
    void dataSource_data() {
        QTest::addColumn<QString>("connectionString");
        QTest::addColumn<QString>("path");
        QTest::newRow("program's own")
            << connectionStringFor(QStringLiteral("/home/salon/Marivelle"))
            << "/home/salon/Marivelle/data.mdb";
        QTest::newRow("backslash separator")
            << "Provider=x;Password=\"\";Data Source=/srv/m\\data.mdb;Persist Security Info=True"
            << "/srv/m/data.mdb";
        QTest::newRow("quoted value with semicolon") << "Data Source=\"/a;b/data.mdb\";Mode=1"
                                                     << "/a;b/data.mdb";
        QTest::newRow("none") << "Provider=x;Password=\"\""
                              << "";
    }
    void dataSource() {
        QFETCH(QString, connectionString);
        QFETCH(QString, path);
        QCOMPARE(Connection::dataSourceOf(connectionString), path);
    }

    void missingFileIsNotCreated() {
        QTemporaryDir dir;
        Connection c;
        QVERIFY_THROWS_EXCEPTION(std::exception, c.setUp(connectionStringFor(dir.path())));
        QVERIFY(!c.isConnected());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data.mdb"))));
    }

    void badFilesAreRefusedAndLeftAlone_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("keepBytes"); // >0: a truncated copy of the shipped file
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("garbage")
            << QByteArray("This is not a database at all, just text.\n").repeated(200) << 0;
        QTest::newRow("truncated header") << QByteArray() << 50;
        QTest::newRow("first page only") << QByteArray() << 4096;
    }
    void badFilesAreRefusedAndLeftAlone() {
        QFETCH(QByteArray, content);
        QFETCH(int, keepBytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        if (keepBytes > 0) {
            QFile shipped(QStringLiteral(MARIVELLE_SHIPPED_DB));
            QVERIFY(shipped.open(QIODevice::ReadOnly));
            content = shipped.read(keepBytes);
        }
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const QByteArray before = digest(path);
        bool refused = false;
        try {
            Connection c;
            c.setUp(connectionStringFor(dir.path()));
            Query q;
            q.setConnection(&c);
            q.addSql(QStringLiteral("SELECT * FROM SECURITY"));
            q.open();
        } catch (const std::exception& e) {
            refused = true;
            QVERIFY(!QString::fromUtf8(e.what()).isEmpty());
        }
        QVERIFY(refused);
        QCOMPARE(digest(path), before);
        QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
    }

    // Another copy of the program holds the file: a write waits, then goes through.
    void writeWaitsForAnotherProcessLock() {
        TestDatabase db;
        auto c = db.connect();
        QProcess holder;
        holder.start(QStringLiteral(MARIVELLE_HELPER_DIR "/lockholder"),
                     {db.path(), QStringLiteral("1500")});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        QElapsedTimer timer;
        timer.start();
        MV_VERIFY_NOTHROW(c->execute(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='after'")));
        QVERIFY2(timer.elapsed() >= 500, "the write did not wait for the lock");
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")),
                 QStringLiteral("after"));
    }

    void aLimitedWaitGivesTheStoresError() {
        TestDatabase db;
        Connection c;
        c.setConnectionString(db.connectionString());
        c.setCommandTimeout(1);
        c.open();
        QProcess holder;
        holder.start(QStringLiteral(MARIVELLE_HELPER_DIR "/lockholder"),
                     {db.path(), QStringLiteral("4000")});
        QVERIFY(holder.waitForReadyRead(10000));
        try {
            c.execute(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='x'"));
            QFAIL("the write went through a held lock");
        } catch (const std::exception& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("locked")), e.what());
        }
        holder.waitForFinished(10000);
    }

    // While another program holds the file, the waiting connection tells the program's
    // watcher when the wait starts and after every short sleep, and when it gives up.
    void waitTellsTheWatcher_data() {
        QTest::addColumn<int>("heldMs");
        QTest::addColumn<int>("limitSeconds"); // 0: the connection's usual limit
        QTest::addColumn<bool>("stored");
        QTest::newRow("released in time") << 1500 << 0 << true;
        QTest::newRow("held past the limit") << 4000 << 1 << false;
    }
    void waitTellsTheWatcher() {
        QFETCH(int, heldMs);
        QFETCH(int, limitSeconds);
        QFETCH(bool, stored);
        TestDatabase db;
        Connection c;
        c.setConnectionString(db.connectionString());
        c.setCommandTimeout(limitSeconds);
        c.open();
        QList<BusyWait::Step> steps;
        bool waitingWhileTold = true;
        BusyWait::setHook([&](const BusyWait::Step& step) {
            steps << step;
            waitingWhileTold = waitingWhileTold && BusyWait::isWaiting();
        });
        QProcess holder;
        holder.start(QStringLiteral(MARIVELLE_HELPER_DIR "/lockholder"),
                     {db.path(), QString::number(heldMs)});
        QVERIFY(holder.waitForReadyRead(10000));
        bool went = true;
        try {
            c.execute(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='after'"));
        } catch (const std::exception&) {
            went = false;
        }
        BusyWait::setHook({});
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(went, stored);
        QVERIFY(!BusyWait::isWaiting());
        QVERIFY(waitingWhileTold);
        QVERIFY(steps.size() > 10);
        QCOMPARE(steps.first().phase, BusyWait::Phase::Started);
        QCOMPARE(steps.last().phase, stored ? BusyWait::Phase::Waiting : BusyWait::Phase::GaveUp);
        const int limitMs = (limitSeconds > 0 ? limitSeconds : 30) * 1000;
        int before = -1;
        for (const BusyWait::Step& step : steps) {
            QCOMPARE(step.limitMs, limitMs);
            QVERIFY(step.waitedMs >= before);
            before = step.waitedMs;
        }
        QVERIFY(stored ? before < limitMs : before >= limitMs);
    }

    // A write of two rows: both stored when committed, neither otherwise; the connection
    // stays usable for the next write.
    void transactionRollsBackUnlessCommitted_data() {
        using Write = TransactionWrite;
        QTest::addColumn<Write>("write");
        QTest::addColumn<QString>("stored");
        const auto two = [](Connection& c) {
            c.execute(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
            c.execute(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(2)"));
        };
        QTest::newRow("committed") << Write([=](Connection& c, Transaction& t) {
            two(c);
            t.commit();
        }) << "2";
        QTest::newRow("store error before the commit") << Write([=](Connection& c, Transaction& t) {
            two(c);
            c.execute(QStringLiteral("INSERT INTO NO_SUCH_TABLE VALUES(1)"));
            t.commit();
        }) << "0";
        QTest::newRow("left without a commit")
            << Write([=](Connection& c, Transaction&) { two(c); }) << "0";
        QTest::newRow("program's own exception escapes") << Write([=](Connection& c, Transaction&) {
            two(c);
            throw std::runtime_error("refused");
        }) << "0";
        QTest::newRow("connection closed meanwhile") << Write([=](Connection& c, Transaction&) {
            two(c);
            c.close();
            c.open();
        }) << "0";
    }
    void transactionRollsBackUnlessCommitted() {
        using Write = TransactionWrite;
        QFETCH(Write, write);
        QFETCH(QString, stored);
        TestDatabase db;
        auto c = db.connect();
        try {
            Transaction t(*c);
            write(*c, t);
        } catch (const std::exception&) {
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM LAST_APODEIKSH")), stored);
        MV_VERIFY_NOTHROW({
            Transaction t(*c);
            c->execute(QStringLiteral("DELETE FROM LAST_APODEIKSH"));
            t.commit();
        });
    }

    void closingTheConnectionClosesItsDataSets() {
        TestDatabase db;
        auto c = db.connect();
        Table t;
        t.setConnection(c.get());
        t.setTableName(QStringLiteral("SECURITY"));
        t.open();
        t.edit();
        t.field(0)->setText(QStringLiteral("unsaved"));
        c->close();
        QVERIFY(!t.isActive());
        QCOMPARE(db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")),
                 QStringLiteral("58204613"));
        t.open(); // reopens the connection as well
        QCOMPARE(t.field(0)->asString(), QStringLiteral("58204613"));
    }

    void fileVanishingWhileRunningIsReported() {
        TestDatabase db;
        QFile::remove(db.path());
        Connection c;
        QVERIFY_THROWS_EXCEPTION(std::exception, c.setUp(db.connectionString()));
        QVERIFY(!QFileInfo::exists(db.path()));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
