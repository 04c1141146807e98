#include "StartupFixture.h"

#include "appointments/Unit12.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextEdit>

// The start-up sequence as a person meets it, over the file as it is stored.
class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void paths_data();
    void paths();
    void definedCodeIsTheOnlyOneAccepted();
    void codeRowMissing();
    void defaultCodeDefinedAgainAsksAgain();
    void connectionStringAndToday();
    void missingDataFileIsTold();
    void reminders_data();
    void reminders();
    void reminderComesBeforeMaximisingAndNumbering();
    void numbering_data();
    void numbering();
};

void StartupTest::paths_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("newCode");
    QTest::addColumn<QStringList>("tries");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("granted");

    const QString notice = QStringLiteral("message:Important Information");
    const QString splash = QStringLiteral("TForm4");
    QTest::newRow("default code: definition, then check")
        << QStringLiteral("58204613") << QStringLiteral("rose 7") << QStringList{"rose 7"}
        << QStringList{splash, notice, "TForm100",
                       "message:Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.", "TForm65"}
        << true;
    QTest::newRow("own code: check only")
        << QStringLiteral("Lily") << QString() << QStringList{"Lily"}
        << QStringList{splash, notice, "TForm65"} << true;
    QTest::newRow("own code with blanks around it in the file")
        << QStringLiteral("  Lily ") << QString() << QStringList{" Lily"}
        << QStringList{splash, notice, "TForm65"} << true;
    QTest::newRow("case differs: refused, then exit")
        << QStringLiteral("Lily") << QString() << QStringList{"lily"}
        << QStringList{splash, notice, "TForm65", "message:Λανθασμένος κωδικός πρόσβασης."}
        << false;
    QTest::newRow("blank code: defined like the shipped one")
        << QStringLiteral("   ") << QStringLiteral("rose 7") << QStringList{"rose 7"}
        << QStringList{splash, notice, "TForm100",
                       "message:Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.", "TForm65"}
        << true;
    QTest::newRow("exit at once") << QStringLiteral("Lily") << QString() << QStringList{}
                                  << QStringList{splash, notice, "TForm65"} << false;
}

void StartupTest::paths() {
    QFETCH(QString, stored);
    QFETCH(QString, newCode);
    QFETCH(QStringList, tries);
    QFETCH(QStringList, expected);
    QFETCH(bool, granted);

    Startup s;
    s.setStoredCode(stored);
    // Something for each later check to find, so that running them would show.
    s.db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2026-03-15','σήμερα')"));
    s.db.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH VALUES(5)"));
    s.newCode = newCode;
    s.tries = tries;
    Global::NumberingLocked = true; // start-up clears it first

    auto form = s.start();
    if (granted)
        expected << QStringLiteral("TForm12");
    QCOMPARE(s.journal, expected);
    QCOMPARE(Global::AccessGranted, granted);
    QCOMPARE(form->isEnding(), !granted);
    QVERIFY(form->startupError().isEmpty());
    QCOMPARE(form->isVisible(), granted);
    QCOMPARE(bool(form->windowState() & Qt::WindowMaximized), granted);
    // The numbering check runs only after access is granted.
    QCOMPARE(Global::NumberingLocked, granted);
}

void StartupTest::definedCodeIsTheOnlyOneAccepted() {
    Startup s;
    s.newCode = QStringLiteral("  Νέος κωδικός/2 ");
    s.tries = {QStringLiteral("58204613"), QStringLiteral("νέος κωδικός/2"),
               QStringLiteral("Νέος κωδικός/2  ")};
    auto form = s.start();
    QVERIFY(!form->isEnding());
    QCOMPARE(s.db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")),
             QStringLiteral("Νέος κωδικός/2"));
    QCOMPARE(s.journal.count(QStringLiteral("message:Λανθασμένος κωδικός πρόσβασης.")), 2);
    QCOMPARE(form->StoredAccessCode, QStringLiteral("58204613"));
}

void StartupTest::codeRowMissing() {
    Startup s;
    s.db.exec(QStringLiteral("DELETE FROM SECURITY"));
    s.newCode = QStringLiteral("Κρίνος");
    s.tries = {QStringLiteral("Κρίνος")};
    auto form = s.start();
    QVERIFY(!form->isEnding());
    QVERIFY(s.journal.contains(QStringLiteral("TForm100")));
    QCOMPARE(s.db.scalar(QStringLiteral("SELECT group_concat(PASSWORD) FROM SECURITY")),
             QStringLiteral("Κρίνος"));
}

void StartupTest::defaultCodeDefinedAgainAsksAgain() {
    Startup s;
    s.newCode = QStringLiteral("58204613");
    s.tries = {QStringLiteral("58204613")};
    auto first = s.start();
    QVERIFY(!first->isEnding());
    first.reset();
    s.journal.clear();
    s.tries = {QStringLiteral("58204613")};
    auto second = s.start();
    QVERIFY(s.journal.contains(QStringLiteral("TForm100")));
    QVERIFY(!second->isEnding());
}

void StartupTest::connectionStringAndToday() {
    Startup s;
    auto form = s.startSignedIn();
    const QString dir = QDir::currentPath();
    QCOMPARE(Global::AppDirectory, dir);
    QCOMPARE(Global::DatabasePassword, QStringLiteral("KT40617LZQ"));
    QCOMPARE(Global::ConnectionString,
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + dir +
                 QStringLiteral("/data.mdb;Persist Security Info=True;"
                                "Jet OLEDB:Database Password=KT40617LZQ"));
    QCOMPARE(form->TodayDay, quint16(15));
    QCOMPARE(form->TodayMonth, quint16(3));
    QCOMPARE(form->TodayYear, quint16(2026));
}

void StartupTest::missingDataFileIsTold() {
    Startup s;
    QVERIFY(QFile::remove(s.db.path()));
    auto form = s.start();
    QCOMPARE(s.journal.mid(0, 2), (QStringList{QStringLiteral("TForm4"),
                                               QStringLiteral("message:Important Information")}));
    // Started from a desktop menu, the end is explained: the missing file, where it was
    // looked for, and what to do.
    QCOMPARE(s.journal.size(), 3);
    const QString box = Messages::shown().last().text;
    QVERIFY2(box.contains(s.db.path()) && box.contains(QStringLiteral("λείπει")), qPrintable(box));
    QVERIFY(form->isEnding());
    QVERIFY(!form->startupError().isEmpty());
    QVERIFY(!form->isVisible());
    QVERIFY(!form->isEnabled());
    QVERIFY(!QFile::exists(s.db.path()));
}

void StartupTest::reminders_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("shown");

    QTest::newRow("none") << QString() << QString();
    QTest::newRow("one today") << QStringLiteral("('2026-03-15','Βάψιμο κας Νίκου\nστις 5')")
                               << QStringLiteral("Βάψιμο κας Νίκου\nστις 5");
    QTest::newRow("one today, others other days")
        << QStringLiteral("('2026-03-14','χθες'),('2026-03-15','σήμερα'),('2026-04-15','άλλο')")
        << QStringLiteral("σήμερα");
    QTest::newRow("two today") << QStringLiteral("('2026-03-15','α'),('2026-03-15','β')")
                               << QString();
    QTest::newRow("same day of another year")
        << QStringLiteral("('2025-03-15','πέρυσι')") << QString();
    QTest::newRow("today with a time of day")
        << QStringLiteral("('2026-03-15 18:30:00','το απόγευμα')") << QStringLiteral("το απόγευμα");
}

void StartupTest::reminders() {
    QFETCH(QString, rows);
    QFETCH(QString, shown);

    Startup s;
    if (!rows.isEmpty())
        s.db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES") + rows);
    QString seen;
    bool onTop = false;
    bool readOnly = false;
    s.onOther = [&](QDialog& d) {
        if (auto* r = qobject_cast<TForm12*>(&d)) {
            onTop = r->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            auto* memo = r->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"));
            QVERIFY(memo);
            seen = memo->toPlainText();
            readOnly = memo->isReadOnly();
            Startup::press(d, "Button1");
        }
    };
    auto form = s.startSignedIn();
    QVERIFY(!form->isEnding());
    QCOMPARE(seen, shown);
    if (!shown.isEmpty()) {
        QVERIFY(onTop);
        QVERIFY(readOnly);
    }
}

void StartupTest::reminderComesBeforeMaximisingAndNumbering() {
    Startup s;
    s.db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2026-03-15','σήμερα')"));
    s.db.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH VALUES(1)"));
    bool shown = false;
    s.onOther = [&](QDialog& d) {
        auto* main = qobject_cast<TForm3*>(d.parentWidget());
        QVERIFY(main);
        QVERIFY(!(main->windowState() & Qt::WindowMaximized));
        QVERIFY(!Global::NumberingLocked);
        shown = true;
    };
    auto form = s.startSignedIn();
    QVERIFY(shown);
    QVERIFY(form->windowState() & Qt::WindowMaximized);
    QVERIFY(Global::NumberingLocked);
}

void StartupTest::numbering_data() {
    QTest::addColumn<bool>("counterRow");
    QTest::newRow("counter empty") << false;
    QTest::newRow("counter has its row") << true;
}

void StartupTest::numbering() {
    QFETCH(bool, counterRow);
    Startup s;
    if (counterRow)
        s.db.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH VALUES(100)"));
    auto form = s.startSignedIn();
    auto* item = form->findChild<QAction*>(QStringLiteral("N8"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Καθορισμός αρίθμησης των αποδείξεων"));
    QCOMPARE(item->isVisible(), !counterRow);
    QCOMPARE(Global::NumberingLocked, counterRow);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
