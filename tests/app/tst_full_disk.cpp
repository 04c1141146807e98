#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "customers/Unit16.h"
#include "data/StoreError.h"
#include "expenses/Unit13.h"
#include "receipts/Unit56.h"
#include "receipts/Unit72.h"
#include "tools/Unit6.h"
#include "ui/LongLived.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

// A small tmpfs mounted over a folder, holding the folder's files; it can be filled to the
// last byte and emptied again. Mounting needs root; `mounted` says whether it worked.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : m_folder(folder) {
        if (geteuid() != 0)
            return;
        QHash<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            QFile f(QDir(folder).filePath(name));
            if (f.open(QIODevice::ReadOnly))
                files.insert(name, f.readAll());
        }
        mounted =
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", folder}) == 0;
        for (auto it = files.cbegin(); mounted && it != files.cend(); ++it) {
            QFile f(QDir(folder).filePath(it.key()));
            mounted = f.open(QIODevice::WriteOnly) && f.write(it.value()) == it.value().size();
        }
    }
    ~SmallDisk() {
        if (mounted)
            QProcess::execute("umount", {m_folder});
    }
    // Writes a ballast file until the disk takes no more.
    void fill() const {
        const int fd = ::open(ballast().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        static const char block[4096] = {};
        for (qsizetype size = sizeof block; size > 0; size /= 2)
            while (::write(fd, block, size) == size) {
            }
        ::close(fd);
    }
    void makeRoom() const { QVERIFY(QFile::remove(QString::fromLocal8Bit(ballast()))); }
    bool mounted = false;

private:
    QByteArray ballast() const { return QFile::encodeName(QDir(m_folder).filePath("ballast")); }
    QString m_folder;
};

// The last page of a table filled with blank rows, and the file kept from growing, on the
// screen's own connection: the next row the screen writes needs a page it cannot have.
void fillLastPage(Connection& c, const QString& table) {
    SQLite::Database& db = c.database();
    db.exec("PRAGMA synchronous=OFF");
    db.exec("PRAGMA max_page_count=" + std::to_string(db.execAndGet("PRAGMA page_count").getInt()));
    for (int i = 0; i < 10000; ++i) {
        try {
            db.exec("INSERT INTO " + table.toStdString() + " DEFAULT VALUES");
        } catch (const SQLite::Exception& e) {
            QCOMPARE(e.getErrorCode(), SQLITE_FULL);
            break;
        }
    }
    db.exec("PRAGMA synchronous=FULL");
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void navigate(QWidget& screen, DBNavigator::Button b) {
    child<DBNavigator>(screen, "DBNavigator1")->click(b);
}
void typeInto(QWidget& screen, const char* name, const QString& text) {
    auto* w = child<QWidget>(screen, name);
    w->setFocus();
    typeText(w, text);
}

// One of the writes that matter: the screen, the typing and saving (again on a second
// call), the table its row lands in, and how many of its rows are stored.
struct Write {
    std::function<std::unique_ptr<Screen>()> open;
    std::function<void(QWidget&, bool again)> save;
    QString table;
    QString stored;
    bool ownMessage = false; // issuing says it in its own words
};

} // namespace
Q_DECLARE_METATYPE(Write)

// A full disk refuses a save with a clear message, leaves the file as it was and lets the
// screen save again once there is room.
class TestFullDisk : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scriptMessages();
        Modal::setTestHook([](QDialog&) { return 0; });
    }
    void cleanup() {
        Modal::setTestHook({});
        LongLived::clear();
    }

    void fullDisk_data() {
        QTest::addColumn<Write>("write");
        QTest::addColumn<bool>("tmpfs");
        const Write receipt{
            [] {
                auto f = std::make_unique<TForm56>();
                f->CustomerId = "42";
                f->CustomerName = "Ελένη";
                f->CustomerSurname = "Δίσκου";
                return std::unique_ptr<Screen>(std::move(f));
            },
            [](QWidget& s, bool) {
                child<QLineEdit>(s, "Edit3")->setText("30");
                child<QLineEdit>(s, "Edit2")->setText("Βαφή");
                child<QPushButton>(s, "Button1")->click();
            },
            "APODEIKSEIS",
            "SELECT count(*) FROM APODEIKSEIS WHERE AR_APODEIKSHS=57 AND EPWNYMO='Δίσκου'", true};
        const Write customer{[] { return std::unique_ptr<Screen>(new TForm16); },
                             [](QWidget& s, bool again) {
                                 if (!again)
                                     typeInto(s, "DBEdit2", "Δίσκου");
                                 navigate(s, DBNavigator::Post);
                             },
                             "STOIXEIA_PELATH",
                             "SELECT count(*) FROM STOIXEIA_PELATH WHERE EPWNYMO='Δίσκου'"};
        const Write expense{[] { return std::unique_ptr<Screen>(new TForm13); },
                            [](QWidget& s, bool again) {
                                if (!again) {
                                    navigate(s, DBNavigator::Insert);
                                    typeInto(s, "DBEdit1", "10/03/2026");
                                    typeInto(s, "DBEdit2", "25");
                                    typeInto(s, "DBEdit4", "Δίσκου");
                                }
                                navigate(s, DBNavigator::Post);
                            },
                            "EKSODA", "SELECT count(*) FROM EKSODA WHERE PERIGRAFH='Δίσκου'"};
        const Write note{[] { return std::unique_ptr<Screen>(new TForm6); },
                         [](QWidget& s, bool again) {
                             if (!again) {
                                 navigate(s, DBNavigator::Insert);
                                 typeInto(s, "DBEdit1", "Δίσκου");
                                 child<DBMemo>(s, "DBMemo1")->setPlainText("Κείμενο");
                             }
                             navigate(s, DBNavigator::Post);
                         },
                         "SHMEIWSEIS", "SELECT count(*) FROM SHMEIWSEIS WHERE TITLOS='Δίσκου'"};
        for (const auto& [name, w] : {std::pair{"receipt issued", receipt},
                                      {"customer saved", customer},
                                      {"expense saved", expense},
                                      {"note saved", note}}) {
            QTest::addRow("%s, page limit", name) << w << false;
            QTest::addRow("%s, small tmpfs", name) << w << true;
        }
    }
    void fullDisk() {
        QFETCH(Write, write);
        QFETCH(bool, tmpfs);
        TestDatabase db;
        PdfFolder pdfs;
        copyShippedReports(db.dir());
        db.exec("INSERT INTO LAST_APODEIKSH VALUES(57)");
        db.exec("INSERT INTO SYNTELESTHS_VAT VALUES(15)");
        TForm72 printout;
        LongLived::add(&printout);
        SmallDisk disk(db.dir());
        if (tmpfs && !disk.mounted)
            QSKIP("no tmpfs can be mounted here");

        std::unique_ptr<Screen> screen = write.open();
        QVERIFY(showActive(*screen));
        auto* connection = screen->findChild<Connection*>();
        QVERIFY(connection && connection->isConnected());
        if (tmpfs)
            disk.fill();
        else
            fillLastPage(*connection, write.table);
        const QByteArray before = bytesOf(db.path());

        write.save(*screen, false);
        const QStringList shown = Messages::shownTexts();
        QCOMPARE(shown.size(), 1);
        if (write.ownMessage)
            QCOMPARE(shown.first(), "Η καταχώρηση δεν έγινε");
        else
            QCOMPARE(shown.first().section(u'\r', 0, 0),
                     StoreError::sentence(StoreError::Kind::Full));
        QVERIFY(bytesOf(db.path()) == before);
        QVERIFY(!QFile::exists(db.path() + "-journal"));
        QCOMPARE(db.scalar(write.stored), "0");

        // Room made, the same screen saves.
        if (tmpfs)
            disk.makeRoom();
        else
            connection->executeNative("PRAGMA max_page_count=1073741823");
        Messages::clearShown();
        write.save(*screen, true);
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(db.scalar(write.stored), "1");
        QCOMPARE(db.scalar("PRAGMA integrity_check"), "ok");
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_full_disk.moc"
