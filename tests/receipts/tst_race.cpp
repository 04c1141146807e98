#include "DeskFixture.h"

#include <QSet>
#include <QTest>

// Two copies of the program at one data file at once: each receipt under a number of its
// own, nothing lost, and no message reaching the desk (the busy wait covers the other's lock).
class TestRace : public QObject {
    Q_OBJECT

private slots:
    // The first copy issues; the second does the row's work on receipts issued before.
    void twoCopiesAtOnce_data() {
        QTest::addColumn<QString>("second");
        QTest::newRow("both issuing") << "issue";
        QTest::newRow("cancelling while issuing") << "cancel";
    }
    void twoCopiesAtOnce() {
        QFETCH(QString, second);
        const int count = 200 * stressFactor();
        const bool cancelling = second == u"cancel";
        DeskFile file(cancelling ? count : 0);
        const int counter = file.counter(), before = file.receipts();
        DeskProcess first(file, "issue", count, 1), other(file, second, count, 2);
        Told told, byFirst;
        for (DeskProcess* desk : {&first, &other}) {
            QVERIFY(desk->finish());
            QCOMPARE(desk->errors(), QString());
            QCOMPARE(desk->process.exitCode(), 0);
            const QByteArray said = desk->process.readAllStandardOutput();
            told.read(said);
            if (desk == &first)
                byFirst.read(said);
        }
        const int issued = cancelling ? count : 2 * count;
        QCOMPARE(told.issued.size(), issued); // a number said twice counts once
        QCOMPARE(QSet<qint64>(told.cancelled.begin(), told.cancelled.end()).size(),
                 cancelling ? count : 0);
        QCOMPARE(file.receipts(), before + issued);
        QCOMPARE(file.counter(), counter + issued);
        QCOMPARE(told.missing(file.db.path()), QStringList());
        QCOMPARE(receiptFaults(file.db.path()), QStringList());
        // Both appended to one record, each line whole.
        QCOMPARE(file.recordFaults(), QStringList());
        if (cancelling)
            return;
        // They did run at once: the second copy's numbers fall among the first one's.
        const qint64 low = byFirst.issued.firstKey(), high = byFirst.issued.lastKey();
        QVERIFY2(high - low + 1 > count, "the two copies ran one after the other");
    }
};

QTEST_MAIN(TestRace)
#include "tst_race.moc"
