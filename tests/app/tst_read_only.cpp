#include "../ui/UiFixture.h"
#include "FileBytes.h"
#include "StartupFixture.h"

#include "customers/Unit16.h"
#include "data/StoreError.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* const kFolderVariable = "MARIVELLE_READ_ONLY_FOLDER";
int chmodOf(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode);
}
} // namespace
Q_DECLARE_METATYPE(StoreError::Kind)

// A data file the program may not write: it starts, and the first save says why it failed.
// Root writes through file permissions, so the saving part runs in a child process of this
// test, as an unprivileged user when the test runs as root.
class TestReadOnly : public QObject {
    Q_OBJECT

private slots:
    void firstSaveSaysWhy_data() {
        QTest::addColumn<bool>("folderLocked"); // else the file itself is read-only
        QTest::addColumn<StoreError::Kind>("kind");
        QTest::newRow("file without write permission") << false << StoreError::Kind::ReadOnly;
        QTest::newRow("folder without write permission")
            << true << StoreError::Kind::FolderReadOnly;
    }
    void firstSaveSaysWhy() {
        QFETCH(bool, folderLocked);
        QFETCH(StoreError::Kind, kind);
        TestDatabase db;
        db.exec("UPDATE SECURITY SET PASSWORD='1234'");
        const bool root = geteuid() == 0;
        // As root the child is another user: the file stays root's, readable by all; the
        // folder-locked case lets everyone write the file but not the folder.
        QCOMPARE(chmodOf(db.path(), folderLocked ? (root ? 0666 : 0644) : 0444), 0);
        QCOMPARE(chmodOf(db.dir(), folderLocked ? 0555 : 0755), 0);
        const QByteArray before = fileBytes(db.path());

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kFolderVariable, db.dir());
        child.setProcessEnvironment(env);
        // The other user may not reach this build's folder (a checkout under /root): it runs
        // a copy of this test from a folder everyone can enter.
        QTemporaryDir binDir;
        QString program = QCoreApplication::applicationFilePath();
        if (root) {
            const QString copy = binDir.filePath(QStringLiteral("tst_read_only"));
            QVERIFY(QFile::copy(program, copy));
            QCOMPARE(chmodOf(binDir.path(), 0755), 0);
            QCOMPARE(chmodOf(copy, 0755), 0);
            program = copy;
        }
        const QStringList self{program, "saveInTheFolder"};
        if (root)
            child.start("setpriv",
                        QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + self);
        else
            child.start(self[0], self.mid(1));
        QVERIFY(child.waitForFinished(120000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        chmodOf(db.dir(), 0755);
        QVERIFY2(child.exitCode() == 0, qPrintable(out + child.readAllStandardError()));

        const QStringList lines = out.split(u'\n').filter(QStringLiteral("shown:"));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().section(u':', 1).section(u'|', 0, 0), StoreError::sentence(kind));
        QVERIFY(fileBytes(db.path()) == before);
        QVERIFY(!QFile::exists(db.path() + "-journal"));
    }

    // The child's part: start the program over the folder, sign in, register a customer,
    // and write each message shown on a line of its own.
    void saveInTheFolder() {
        const QString folder = qEnvironmentVariable(kFolderVariable);
        if (folder.isEmpty())
            QSKIP("run by firstSaveSaysWhy");
        Startup startup;
        QDir::setCurrent(folder);
        startup.tries = {"1234"};
        auto main = startup.start();
        QVERIFY2(!main->isEnding(), qPrintable(main->startupError()));
        QCOMPARE(Messages::shown().size(), 1); // the notice only
        Messages::clearShown();
        Messages::setTestHook({});

        TForm16 form;
        QVERIFY(showActive(form));
        child<QWidget>(form, "DBEdit2")->setFocus();
        typeText(child<QWidget>(form, "DBEdit2"), "Μόνο");
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        for (const QString& text : Messages::shownTexts())
            std::printf("shown:%s\n", qUtf8Printable(QString(text).replace(u'\r', u'|')));
        std::fflush(stdout);
    }
};

QTEST_MAIN(TestReadOnly)
#include "tst_read_only.moc"
