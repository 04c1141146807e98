#include "TestSupport.h"

#include "data/SafetyCopy.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

namespace {
const QDate kToday(2026, 12, 9);

QString copyName(const QDate& day) {
    return QStringLiteral("data-") + day.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".mdb");
}

QString noteOf(const QString& path) {
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
    return QString::fromStdString(db.execAndGet("SELECT PASSWORD FROM SECURITY").getString());
}
} // namespace

class TestSafetyCopy : public QObject {
    Q_OBJECT

private slots:
    // Rows: what the folder holds before ending = what it holds after (newest first).
    void daily_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("first end") << QStringList() << QStringList{copyName(kToday)};
        QTest::newRow("refreshed at every end")
            << QStringList{copyName(kToday)} << QStringList{copyName(kToday)};
        QTest::newRow("yesterday's kept")
            << QStringList{copyName(kToday.addDays(-1))}
            << QStringList{copyName(kToday), copyName(kToday.addDays(-1))};
        QStringList full, kept{copyName(kToday)};
        for (int i = 1; i <= 31; ++i) {
            full << copyName(kToday.addDays(-i));
            if (i < SafetyCopy::kKept)
                kept << copyName(kToday.addDays(-i));
        }
        QTest::newRow("oldest two go") << full << kept;
        QTest::newRow("other files stay")
            << QStringList{QStringLiteral("data-old.mdb"), QStringLiteral("notes.txt")}
            << QStringList{QStringLiteral("notes.txt"), QStringLiteral("data-old.mdb"),
                           copyName(kToday)};
    }
    void daily() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        TestDatabase db;
        db.exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='now'"));
        QDir folder(SafetyCopy::folderFor(db.path()));
        QVERIFY(QDir().mkpath(folder.path()));
        for (const QString& name : before)
            QVERIFY(QFile::copy(QStringLiteral(MARIVELLE_SHIPPED_DB), folder.filePath(name)));
        QCOMPARE(SafetyCopy::writeDaily(db.path(), kToday), QString());
        QCOMPARE(folder.entryList(QDir::Files, QDir::Name | QDir::Reversed), after);
        // A copy made earlier today gives way to the newer one.
        QCOMPARE(noteOf(folder.filePath(copyName(kToday))), QStringLiteral("now"));
        QCOMPARE(receiptFaults(folder.filePath(copyName(kToday))), QStringList());
    }

    // Another connection's write not yet committed is not in the copy; a short lock of
    // another copy of the program is waited for.
    void consistent() {
        TestDatabase db;
        SQLite::Database other(db.path().toStdString(), SQLite::OPEN_READWRITE);
        other.exec("BEGIN IMMEDIATE; UPDATE SECURITY SET [PASSWORD]='half'");
        QCOMPARE(SafetyCopy::writeDaily(db.path(), kToday), QString());
        other.exec("ROLLBACK");
        const QString copy = QDir(SafetyCopy::folderFor(db.path())).filePath(copyName(kToday));
        QVERIFY(noteOf(copy) != QStringLiteral("half"));

        QFile::remove(copy);
        QProcess holder;
        holder.start(QStringLiteral(MARIVELLE_HELPER_DIR "/lockholder"),
                     {db.path(), QStringLiteral("1500")});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(SafetyCopy::writeDaily(db.path(), kToday), QString());
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(noteOf(copy), db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")));
    }

    // Rows: how the copy fails; the desk reads Greek, the reason follows, nothing half-made.
    void failure_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason"); // the program's own, or the store's text
        QTest::newRow("folder is a file") << "folder"
                                          << "Ο φάκελος δεν μπορεί να δημιουργηθεί.";
        QTest::newRow("data file unreadable") << "garbage"
                                              << "file is not a database";
    }
    void failure() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        TestDatabase db;
        const QString folder = SafetyCopy::folderFor(db.path());
        QFile f(damage == u"folder" ? folder : db.path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a database file, only text standing where one should be");
        f.close();
        const QStringList lines = SafetyCopy::writeDaily(db.path(), kToday).split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("Δεν έγινε το σημερινό αντίγραφο")),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1], reason);
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.mdb*")}, QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSafetyCopy)
#include "tst_safety_copy.moc"
