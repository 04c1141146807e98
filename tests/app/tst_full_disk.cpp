#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"
#include "FileBytes.h"

#include "customers/Unit16.h"
#include "data/Store.h"
#include "data/StoreError.h"
#include "expenses/Unit13.h"
#include "receipts/Unit56.h"
#include "receipts/Unit72.h"
#include "tools/Unit6.h"
#include "ui/LongLived.h"

#include <QPushButton>
#include <QScopeGuard>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A 1 MB tmpfs mounted over a folder, holding the folder's files. Mounting needs root.
bool mountSmallDisk(const QDir& folder) {
    QHash<QString, QByteArray> files;
    for (const QString& name : folder.entryList(QDir::Files))
        files.insert(name, fileBytes(folder.filePath(name)));
    bool done = geteuid() == 0 && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m",
                                                              "tmpfs", folder.path()}) == 0;
    for (auto it = files.cbegin(); done && it != files.cend(); ++it)
        done = overwrite(folder.filePath(it.key()), 0, it.value());
    return done;
}

// A ballast file written until the disk takes no more.
void fillDisk(const QString& ballast) {
    const int fd = ::open(QFile::encodeName(ballast).constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    static const char block[4096] = {};
    for (qsizetype size = sizeof block; size > 0; size /= 2)
        while (::write(fd, block, size) == size) {
        }
    ::close(fd);
}

// The last page of a table filled with blank rows, and the file kept from growing, on the
// screen's own connection: the next row the screen writes needs a page it cannot have.
void fillLastPage(Connection& c, const QString& table) {
    c.executeNative("PRAGMA synchronous=OFF");
    const auto pages = c.store().prepare("PRAGMA page_count");
    QVERIFY(pages->next());
    c.executeNative("PRAGMA max_page_count=" + QString::number(pages->integer(0)));
    try {
        for (int i = 0; i < 10000; ++i)
            c.executeNative("INSERT INTO " + table + " DEFAULT VALUES");
    } catch (const StoreError::Failure& e) {
        QCOMPARE(e.kind(), StoreError::Kind::Full);
    }
    c.executeNative("PRAGMA synchronous=FULL");
}

template <class T> std::unique_ptr<Screen> make() {
    return std::make_unique<T>();
}
std::unique_ptr<Screen> receiptForACustomer() {
    auto f = std::make_unique<TForm56>();
    f->CustomerId = "42";
    f->CustomerName = "Ελένη";
    f->CustomerSurname = "Δίσκου";
    return f;
}

// One of the writes that matter: the screen, what is typed before saving, the table its row
// lands in and how many of its rows are stored.
struct Write {
    std::unique_ptr<Screen> (*open)();
    bool insert;        // a new record begun on the navigator
    QString typed;      // control=text;…
    const char* button; // saves; none: the navigator's Post
    bool retyped;       // the screen empties its inputs on refusal
    QString table, stored;
    QString refusal = {}; // the screen's own words; empty: the full-disk sentence
};

void save(QWidget& s, const Write& w, bool again) {
    if (!again && w.insert)
        child<DBNavigator>(s, "DBNavigator1")->click(DBNavigator::Insert);
    for (const QString& field : w.typed.split(u';')) {
        if (again && !w.retyped)
            break;
        auto* control = child<QWidget>(s, field.section(u'=', 0, 0));
        control->setFocus();
        typeText(control, field.section(u'=', 1));
    }
    if (w.button)
        child<QPushButton>(s, w.button)->click();
    else
        child<DBNavigator>(s, "DBNavigator1")->click(DBNavigator::Post);
}

void addRows(const char* name, const Write& w) {
    QTest::addRow("%s, page limit", name) << w << false;
    QTest::addRow("%s, small tmpfs", name) << w << true;
}

} // namespace
Q_DECLARE_METATYPE(Write)

// A full disk refuses a save with a clear message, leaves the file as it was and lets the
// screen save again once there is room.
class TestFullDisk : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Modal::setTestHook([](QDialog&) { return 0; });
    }
    void cleanup() { ScreenFixture::end(); }

    void fullDisk_data() {
        QTest::addColumn<Write>("write");
        QTest::addColumn<bool>("tmpfs");
        addRows("receipt issued",
                {receiptForACustomer, false, "Edit3=30;Edit2=Βαφή", "Button1", true, "APODEIKSEIS",
                 "SELECT count(*) FROM APODEIKSEIS WHERE AR_APODEIKSHS=57 AND EPWNYMO='Δίσκου'",
                 "Η καταχώρηση δεν έγινε"});
        addRows("customer saved",
                {make<TForm16>, false, "DBEdit2=Δίσκου", nullptr, false, "STOIXEIA_PELATH",
                 "SELECT count(*) FROM STOIXEIA_PELATH WHERE EPWNYMO='Δίσκου'"});
        addRows("expense saved",
                {make<TForm13>, true, "DBEdit1=10/03/2026;DBEdit2=25;DBEdit4=Δίσκου", nullptr,
                 false, "EKSODA", "SELECT count(*) FROM EKSODA WHERE PERIGRAFH='Δίσκου'"});
        addRows("note saved",
                {make<TForm6>, true, "DBEdit1=Δίσκου;DBMemo1=Κείμενο", nullptr, false, "SHMEIWSEIS",
                 "SELECT count(*) FROM SHMEIWSEIS WHERE TITLOS='Δίσκου'"});
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
        const auto unmount = qScopeGuard([&] {
            if (tmpfs)
                QProcess::execute("umount", {db.dir()});
        });
        if (tmpfs && !mountSmallDisk(db.dir()))
            QSKIP("no tmpfs can be mounted here");

        std::unique_ptr<Screen> screen = write.open();
        QVERIFY(showActive(*screen));
        auto* connection = screen->findChild<Connection*>();
        QVERIFY(connection && connection->isConnected());
        if (tmpfs)
            fillDisk(db.dir() + "/ballast");
        else
            fillLastPage(*connection, write.table);
        const QByteArray before = fileBytes(db.path());

        save(*screen, write, false);
        const QStringList shown = Messages::shownTexts();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().section(u'\r', 0, 0),
                 write.refusal.isEmpty() ? StoreError::sentence(StoreError::Kind::Full)
                                         : write.refusal);
        QVERIFY(fileBytes(db.path()) == before);
        QVERIFY(!QFile::exists(db.path() + "-journal"));
        QCOMPARE(db.scalar(write.stored), "0");

        // Room made, the same screen saves.
        if (tmpfs)
            QVERIFY(QFile::remove(db.dir() + "/ballast"));
        else
            connection->executeNative("PRAGMA max_page_count=1073741823");
        Messages::clearShown();
        save(*screen, write, true);
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(db.scalar(write.stored), "1");
        QCOMPARE(db.scalar("PRAGMA integrity_check"), "ok");
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_full_disk.moc"
