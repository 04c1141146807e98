#include "../app/StartupFixture.h"
#include "../ui/UiFixture.h"
#include "DeskFixture.h"
#include "FileBytes.h"

#include "data/ReceiptRecord.h"
#include "data/SafetyCopy.h"
#include "receipts/Unit56.h"
#include "receipts/Unit71.h"
#include "receipts/Unit72.h"
#include "ui/LongLived.h"

#include <QLabel>
#include <QPushButton>

namespace {

// A desk issuing and cancelling through the real screens, with the things that happen to a
// data file and its record between two starts.
struct RecordDesk : ScreenFixture::Scope, DeskFile {
    TForm72 printout;
    QString truth; // both tables as they stood after the last receipt or cancellation
    QString copy;  // the safety copy, once taken

    RecordDesk() {
        Modal::setTestHook([](QDialog&) { return 0; });
        LongLived::add(&printout);
    }

    QString recordPath() const { return ReceiptRecord::pathFor(db.path()); }
    QList<QByteArray> recordLines() const { return fileBytes(recordPath()).split('\n'); }
    void writeRecord(const QList<QByteArray>& lines) const {
        QFile f(recordPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lines.join('\n'));
    }

    // Both tables, every value with its type, in number order.
    QString rows() const {
        return db.scalar(
            "SELECT group_concat(r, ' / ') FROM (SELECT quote(AR_APODEIKSHS)||quote(HMEROMHNIA)||"
            "quote(ONOMA)||quote(EPWNYMO)||quote(PARALHPTHS)||quote(POSO)||quote(TAMEIO)||"
            "quote(POSO_CY)||quote(PERIGRAFH)||quote(VAT)||quote(SYNOLIKO_POSO)||quote(EGKYRH)||"
            "ifnull((SELECT quote(ID)||quote(HMEROMHNIA)||quote(POSO)||quote(PERIGRAFH)||"
            "quote(TAMEIO)||quote(POSO_CY)||quote(VAT)||quote(SYNOLIKO_POSO) FROM "
            "EISPRAKSH_PELATH c WHERE c.AR_APODEIKSHS=a.AR_APODEIKSHS), '-') AS r FROM "
            "APODEIKSEIS a ORDER BY AR_APODEIKSHS)");
    }

    void issue() {
        TForm56 form;
        form.CustomerId = "42";
        form.CustomerName = "Ελένη";
        form.CustomerSurname = "Ντ'Αμίκο";
        QVERIFY(showActive(form));
        const QString amount = QString::number(10 + receipts()) + ",25";
        for (const auto& [edit, text] : {std::pair{"Edit3", amount}, {"Edit2", QString("Βαφή")}})
            child<QLineEdit>(form, edit)->setText(text);
        child<QPushButton>(form, "Button1")->click();
        QCOMPARE(Messages::shownTexts(), QStringList());
        truth = rows();
    }

    void cancel(const QString& number) {
        TForm71 form;
        QVERIFY(showActive(form));
        auto* grid = child<DBGrid>(form, "DBGrid1");
        const int row = int(gridColumn(form).indexOf(number));
        QVERIFY(row >= 0);
        grid->setCurrentIndex(grid->model()->index(row, 0));
        Messages::setNextAnswers({true});
        child<QPushButton>(form, "Button1")->click();
        QCOMPARE(Messages::shownTexts(), QStringList{TForm71::cancelQuestion(number)});
        Messages::clearShown();
        truth = rows();
    }

    // One step of a row's script; see the table.
    void perform(const QString& step) {
        const QString what = step.section(' ', 0, 0), arg = step.section(' ', 1);
        if (what == "issue") {
            for (int i = 0; i < arg.toInt(); ++i)
                issue();
        } else if (what == "cancel") {
            cancel(arg);
        } else if (what == "copy") {
            QCOMPARE(SafetyCopy::writeDaily(db.path(), QDate(2026, 12, 11)), QString());
            copy = QDir(SafetyCopy::folderFor(db.path())).filePath("data-2026-12-11.mdb");
        } else if (what == "restore" || what == "replace") {
            QVERIFY(QFile::remove(db.path()));
            QVERIFY(
                QFile::copy(what == "restore" ? copy : QString(MARIVELLE_SHIPPED_DB), db.path()));
            QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::WriteOwner);
            if (what == "replace") // set up again, all but the numbering
                db.exec("INSERT INTO SYNTELESTHS_VAT VALUES(24); INSERT INTO STOIXEIA_PELATH(ID,"
                        "ONOMA,EPWNYMO) VALUES(42,'Ελένη','Ντ''Αμίκο')");
        } else if (what == "tool-restore") {
            QCOMPARE(runDataTool({"restore", copy, db.path()}), 0);
        } else if (what == "forget") { // the last line never written: a kill after the commit
            QList<QByteArray> lines = recordLines();
            lines.removeAt(lines.size() - 2);
            writeRecord(lines);
        } else if (what == "unstore") { // the last receipt's commit lost, its line written
            db.exec("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=(SELECT max(AR_APODEIKSHS) "
                    "FROM APODEIKSEIS); DELETE FROM APODEIKSEIS WHERE AR_APODEIKSHS=(SELECT "
                    "max(AR_APODEIKSHS) FROM APODEIKSEIS); UPDATE LAST_APODEIKSH SET "
                    "[LAST]=[LAST]-1");
        } else if (what == "tear") { // a power cut in the middle of the last line
            const QByteArray bytes = fileBytes(recordPath());
            const qsizetype start = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
            QVERIFY(QFile::resize(recordPath(), start + (bytes.size() - start) / 2));
        } else if (what == "spoil") { // one character of a line changed
            QList<QByteArray> lines = recordLines();
            lines[arg.toInt() - 1].replace("Βαφή", "Βαφη");
            writeRecord(lines);
        } else if (what == "drop") {
            QVERIFY(QFile::remove(recordPath()));
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    // What the next start does with the record.
    ReceiptRecord::Outcome startUp() const {
        Connection c;
        c.setUp(db.connectionString());
        return ReceiptRecord::reconcile(c);
    }
};

QString joined(const QList<qint64>& numbers) {
    QStringList texts;
    for (const qint64 n : numbers)
        texts << QString::number(n);
    return texts.join(',');
}

} // namespace

// The record beside the data file: what a restored copy, a replaced file, a kill between the
// commit and the record and a torn or spoiled line leave, and what the next start makes of it.
class TestReceiptRecord : public QObject {
    Q_OBJECT

private slots:
    void nextStart_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("restored");
        QTest::addColumn<QString>("cancelled");
        QTest::addColumn<int>("completed");      // lines the record got from the file
        QTest::addColumn<QString>("unreadable"); // record lines reported
        QTest::addColumn<bool>("dropped");       // a torn last line dropped and reported
        QTest::addColumn<int>("next");           // the counter afterwards
        const auto row = [](const char* tag, const char* script, const char* restored,
                            const char* cancelled, int completed, const char* unreadable,
                            bool dropped, int next) {
            QTest::newRow(tag) << QString(script) << QString(restored) << QString(cancelled)
                               << completed << QString(unreadable) << dropped << next;
        };
        row("nothing happened", "issue 2; cancel 1001", "", "", 0, "", false, 1003);
        row("older copy restored after 2 + 2", "issue 2; copy; issue 2; restore", "1003,1004", "",
            0, "", false, 1005);
        row("older copy restored by the tool", "issue 2; copy; issue 2; tool-restore", "", "", 0,
            "", false, 1005);
        row("a cancellation after the copy", "issue 3; copy; cancel 1002; restore", "", "1002", 0,
            "", false, 1004);
        row("issued and cancelled after the copy", "issue 1; copy; issue 1; cancel 1002; restore",
            "1002", "", 0, "", false, 1003);
        row("file replaced by the shipped one", "issue 2; replace", "1001,1002", "", 0, "", false,
            1003);
        row("kill after the commit, before the record", "issue 2; forget", "", "", 1, "", false,
            1003);
        row("record written, the commit lost", "issue 2; unstore", "1002", "", 0, "", false, 1003);
        row("torn last line, its receipt in the file", "issue 2; tear", "", "", 1, "", false, 1003);
        row("torn last line, its receipt not in the file", "issue 2; tear; unstore", "", "", 0, "",
            true, 1002);
        row("a spoiled line", "issue 3; spoil 3", "", "", 1, "3", false, 1004);
        row("no record yet", "issue 2; drop", "", "", 2, "", false, 1003);
    }
    void nextStart() {
        QFETCH(QString, script);
        QFETCH(QString, restored);
        QFETCH(QString, cancelled);
        QFETCH(int, completed);
        QFETCH(QString, unreadable);
        QFETCH(bool, dropped);
        QFETCH(int, next);
        RecordDesk desk;
        for (const QString& step : script.split("; "))
            desk.perform(step);
        const ReceiptRecord::Outcome o = desk.startUp();
        QCOMPARE(joined(o.restored), restored);
        QCOMPARE(joined(o.cancelled), cancelled);
        QCOMPARE(o.completed, completed);
        QStringList lines;
        for (const int l : o.unreadable)
            lines << QString::number(l);
        QCOMPARE(lines.join(','), unreadable);
        QCOMPARE(!o.tornDropped.isEmpty(), dropped);
        QCOMPARE(o.recordError, QString());
        QCOMPARE(desk.counter(), next);
        QCOMPARE(receiptFaults(desk.db.path()), QStringList());
        if (!dropped) // every receipt as it was stored, with its collection
            QCOMPARE(desk.rows(), desk.truth);
        QCOMPARE(o.message(desk.db.path()).isEmpty(), restored.isEmpty() && cancelled.isEmpty() &&
                                                          unreadable.isEmpty() && !dropped &&
                                                          !o.counterRaisedTo);

        // The two agree now: a second start changes nothing in the file.
        const QByteArray file = fileBytes(desk.db.path());
        const ReceiptRecord::Outcome again = desk.startUp();
        QVERIFY(again.restored.isEmpty() && again.cancelled.isEmpty() && again.completed == 0 &&
                again.tornDropped.isEmpty() && !again.counterRaisedTo);
        QVERIFY(fileBytes(desk.db.path()) == file);
        // And the next receipt takes the next number.
        desk.issue();
        QCOMPARE(desk.db.scalar("SELECT max(AR_APODEIKSHS) FROM APODEIKSEIS").toInt(), next);
    }

    // The program's own start: what came back is named in a box before the access check.
    void startUpTellsWhatCameBack() {
        QString folder;
        {
            RecordDesk desk;
            for (const char* step : {"issue 2", "copy", "issue 2", "restore"})
                desk.perform(step);
            Startup s;
            for (const QString& f : {desk.db.path(), desk.recordPath()}) {
                QFile::remove(QDir(s.db.dir()).filePath(QFileInfo(f).fileName()));
                QVERIFY(QFile::copy(f, QDir(s.db.dir()).filePath(QFileInfo(f).fileName())));
            }
            s.setStoredCode("1234");
            s.tries = {"1234"};
            auto form = s.start();
            QVERIFY(!form->isEnding());
            QCOMPARE(s.journal.value(2).section(u'\r', 0, 0),
                     "message:Στο αρχείο δεδομένων έλειπαν οι αποδείξεις 1003, 1004, που είχαν "
                     "εκδοθεί και είναι γραμμένες στο ημερολόγιο αποδείξεων (ίσως επανήλθε "
                     "παλαιότερο αντίγραφο του αρχείου). Ξαναμπήκαν στο αρχείο μαζί με τις "
                     "εισπράξεις τους.");
            QCOMPARE(s.journal.value(3), "TForm65");
            QCOMPARE(s.db.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "1005");
        }
    }

    // A record that cannot be written stops a receipt and a cancellation before they are
    // stored; the store keeps them as they were.
    void unwritableRecordStopsTheStore() {
        RecordDesk desk;
        desk.issue();
        QVERIFY(QFile::remove(desk.recordPath()));
        QVERIFY(QDir().mkpath(desk.recordPath())); // a folder where the record should be
        const QString before = desk.rows();
        TForm56 form;
        form.CustomerId = "42";
        QVERIFY(showActive(form));
        child<QLineEdit>(form, "Edit3")->setText("20");
        child<QLineEdit>(form, "Edit2")->setText("Βαφή");
        child<QPushButton>(form, "Button1")->click();
        QCOMPARE(Messages::shownTexts().size(), 1);
        QVERIFY2(Messages::shownTexts()[0].startsWith("Η καταχώρηση δεν έγινε"),
                 qPrintable(Messages::shownTexts()[0]));
        QVERIFY(form.isVisible());
        Messages::clearShown();
        TForm71 book;
        QVERIFY(showActive(book));
        Messages::setNextAnswers({true});
        child<QPushButton>(book, "Button1")->click();
        QCOMPARE(Messages::shownTexts().size(), 2);
        QVERIFY2(Messages::shownTexts()[1].contains("ημερολόγιο αποδείξεων"),
                 qPrintable(Messages::shownTexts()[1]));
        QCOMPARE(desk.rows(), before);
        QCOMPARE(desk.counter(), 1002);
    }
};

QTEST_MAIN(TestReceiptRecord)
#include "tst_receipt_record.moc"
