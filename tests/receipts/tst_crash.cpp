#include "DeskFixture.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <random>

// A front desk killed at any moment, as by a power cut: the file stays sound, keeps every
// receipt and cancellation the desk had committed, the receipt record agrees with it, and
// the next start goes on from there.
class TestCrash : public QObject {
    Q_OBJECT

private slots:
    // Each row: what the desk does, how often it is killed, valid receipts issued before.
    void killedAtRandom_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("kills");
        QTest::addColumn<int>("receipts");
        QTest::newRow("issuing") << "issue" << 60 << 0;
        QTest::newRow("cancelling") << "cancel" << 40 << 300;
        QTest::newRow("issuing and cancelling") << "mixed" << 100 << 30;
    }
    void killedAtRandom() {
        QFETCH(QString, mode);
        QFETCH(int, kills);
        QFETCH(int, receipts);
        DeskFile file(receipts * stressFactor());
        std::mt19937 random(qHash(QByteArray(QTest::currentDataTag())));
        Told told;
        int landed = 0;
        for (int kill = 0; kill < kills * stressFactor(); ++kill) {
            DeskProcess desk(file, mode, 100000, random());
            QVERIFY(desk.process.waitForStarted());
            // Killed at start-up or inside one of the first few steps.
            const int after = std::uniform_int_distribution<int>(0, 2)(random);
            QByteArray said;
            while (said.count('\n') < after && desk.process.waitForReadyRead(-1))
                said += desk.process.readAllStandardOutput();
            QThread::usleep(std::uniform_int_distribution<int>(0, kStepMicroseconds)(random));
            landed += desk.process.state() == QProcess::Running;
            desk.process.kill();
            QVERIFY(desk.process.waitForFinished(-1));
            said += desk.process.readAllStandardOutput();
            QCOMPARE(desk.errors(), QString());
            told.read(said);
            // Checked first: its opening rolls back what the kill left, as the next start does.
            QStringList faults = receiptFaults(file.db.path());
            faults += told.missing(file.db.path());
            // The record: at most the step the kill cut between the commit and its line.
            faults += file.recordFaults(1);
            QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("after kill %1: ").arg(kill + 1) +
                                                  faults.join("; ")));
        }
        QVERIFY2(landed * 10 >= kills * stressFactor() * 9, "the desk ended before its kill");
        QVERIFY(mode == u"cancel" || !told.issued.isEmpty());
        QVERIFY(mode == u"issue" || !told.cancelled.isEmpty());
        qInfo("%d kills, %d while running; %d receipts and %d cancellations said committed",
              kills * stressFactor(), landed, int(told.issued.size()), int(told.cancelled.size()));
    }

    // The checker itself: receipts 1001-1003 with their collections, one thing spoiled.
    void faultsOfAFile_data() {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<QString>("fault"); // the start of the first sentence; empty: none
        const char* unmatched = "receipts without their one collection: 1002";
        const auto row = [](const char* tag, const char* spoil, const char* fault) {
            QTest::newRow(tag) << QString(spoil) << QString(fault);
        };
        row("sound", "", "");
        row("cancelled without collection",
            "UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=1002;"
            "DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=1002",
            "");
        row("number twice",
            "DROP INDEX APODEIKSEIS_NUMBER; INSERT INTO APODEIKSEIS SELECT * FROM APODEIKSEIS "
            "WHERE AR_APODEIKSHS=1003; INSERT INTO EISPRAKSH_PELATH SELECT * FROM "
            "EISPRAKSH_PELATH WHERE AR_APODEIKSHS=1003",
            "numbers given twice: 1003");
        row("counter behind", "UPDATE LAST_APODEIKSH SET [LAST]=1003", "counter 1003 after 1003");
        row("counter ahead", "UPDATE LAST_APODEIKSH SET [LAST]=1005", "counter 1005 after 1003");
        row("collection missing", "DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=1002",
            unmatched);
        row("collection of another amount",
            "UPDATE EISPRAKSH_PELATH SET POSO=21 WHERE AR_APODEIKSHS=1002", unmatched);
        row("collection without VAT",
            "UPDATE EISPRAKSH_PELATH SET VAT=NULL WHERE AR_APODEIKSHS=1002", unmatched);
        row("two collections",
            "INSERT INTO EISPRAKSH_PELATH SELECT * FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=1002",
            unmatched);
        row("cancelled keeps its collection",
            "UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=1002", unmatched);
        row("collection without receipt", "DELETE FROM APODEIKSEIS WHERE AR_APODEIKSHS=1002",
            "collections without a receipt: 1002");
        // The page checksum reports the damage before the store's own check reads it.
        row("damaged index", "damage", "unreadable: ");
        // What a kill before the journal's first sync leaves: the file was not touched yet.
        row("journal never written", "journal", "");
    }
    void faultsOfAFile() {
        QFETCH(QString, spoil);
        QFETCH(QString, fault);
        DeskFile file(3);
        if (spoil == u"damage") {
            // The receipt number index's root page, found in the file, overwritten.
            const qint64 page = file.db
                                    .scalar("SELECT rootpage FROM sqlite_master WHERE "
                                            "name='APODEIKSEIS_NUMBER'")
                                    .toLongLong();
            QFile f(file.db.path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek((page - 1) * file.db.scalar("PRAGMA page_size").toLongLong() + 8));
            f.write(QByteArray(4, '\x7f'));
        } else if (spoil == u"journal") {
            QFile f(file.db.path() + "-journal");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(512, '\0'));
        } else if (!spoil.isEmpty()) {
            file.db.exec(spoil);
        }
        const QStringList faults = receiptFaults(file.db.path());
        QCOMPARE(faults.isEmpty(), fault.isEmpty());
        QVERIFY2(fault.isEmpty() || faults[0].startsWith(fault), qPrintable(faults.join("; ")));
    }

private:
    // About one issuing step of the desk; a kill lands anywhere inside it.
    static constexpr int kStepMicroseconds = 40000;
};

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
