#include "StartupFixture.h"

#include "app/AnalogClock.h"
#include "app/LongLivedScreens.h"
#include "customers/Unit18.h"
#include "customers/Unit22.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "receipts/Unit72.h"
#include "tools/Unit7.h"
#include "ui/LongLived.h"
#include "ui/Vendor.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {
QStringList menuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-")
                                   : a->objectName() + QLatin1Char('=') + a->text());
    return items;
}
} // namespace

// The main window after a normal start: its commands, board, status bar and exit.
class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void menuTree();
    void commands_data();
    void commands();
    void boardToggles();
    void statusBarAndClock();
    void backupText();
    void calculator_data();
    void calculator();
    void vendorSiteFromTheBackground_data();
    void vendorSiteFromTheBackground();
    void aboutWindow();
    void longLivedScreens();
    void longLivedScreensStartInTheFirstInput_data();
    void longLivedScreensStartInTheFirstInput();
    void exitAsks_data();
    void exitAsks();
};

void MainWindowTest::menuTree() {
    Startup s;
    auto form = s.startSignedIn();
    auto* bar = form->findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    QVERIFY(bar);
    QCOMPARE(bar->actions().size(), 1);
    auto* n1 = form->findChild<QMenu*>(QStringLiteral("N1"));
    QCOMPARE(n1->title(), QStringLiteral("Ε&πιλογές"));
    const QStringList expected = {
        "N17=Εύρ&εση πελάτη",
        "N16=Καταχώρηση νέου πελάτη",
        "-",
        "=Λειτουργικά έξ&οδα",
        "N18=Εισπρά&ξεις σε διάστημα δυο ημερομηνιών",
        "N19=Αποδείξεις που εκ&δόθηκαν",
        "-",
        "N3=Βιβλίο ση&μειώσεων",
        "Y1=Yπενθ&υμίσεις",
        "N10=Χρήσιμα &τηλέφωνα",
        "-",
        "N4=Ημε&ρολογιακά",
        "N5=Αριθμομη&χανή",
        "N28=Ραντεβού",
        "-",
        "Backup1=Backup",
        "-",
        "=Ρυ&θμίσεις",
        "N11=Αλλαγή του κωδικού πρόσβασης",
        "About1=A&bout Marivelle",
        "N22=Έ&ξοδος",
        // Added after the original items, which keep their places.
        "-",
        "N29=Γενέθλια πελατών",
        "N30=Αναζήτηση στα ραντεβού",
    };
    QCOMPARE(menuItems(n1), expected);
    QCOMPARE(menuItems(form->findChild<QMenu*>(QStringLiteral("N12"))),
             (QStringList{"N13=Επε&ξεργασία", "N14=Αναλυτική έ&ρευνα", "N15=Κατά &μήνα"}));
    QCOMPARE(form->findChild<QMenu*>(QStringLiteral("N12"))->title(),
             QStringLiteral("Λειτουργικά έξ&οδα"));
    QCOMPARE(menuItems(form->findChild<QMenu*>(QStringLiteral("N6"))),
             (QStringList{"N2=Συντελεστής Φ.Π.Α", "N8=Καθορισμός αρίθμησης των αποδείξεων",
                          "N7=Διαμόρφωση των στοιχείων που θα εμφανίζονται στις αποδείξεις"}));
    QCOMPARE(form->findChild<QMenu*>(QStringLiteral("N6"))->title(), QStringLiteral("Ρυ&θμίσεις"));
    // The reminders item begins with the Latin Y.
    QCOMPARE(form->findChild<QAction*>(QStringLiteral("Y1"))->text().at(0), QChar(u'Y'));

    auto* board = form->findChild<QWidget*>(QStringLiteral("Panel4"));
    QStringList buttons;
    for (QPushButton* b : board->findChildren<QPushButton*>()) {
        buttons << b->objectName() + QLatin1Char('=') + b->text();
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(
        buttons,
        (QStringList{"Button2=Εύρεση πελάτη", "Button1=Καταχώρηση νέου πελάτη",
                     "Button9=Αποδείξεις που εκδόθηκαν", "Button13=Λειτουργικά έξοδα (Επεξεργασία)",
                     "Button6=Λειτουργικά έξοδα (Αναλυτική έρευνα)",
                     "Button7=Λειτουργικά έξοδα (Κατά μήνα)", "Button5=Υπενθυμίσεις",
                     "Button12=Βιβλίο σημειώσεων", "Button4=Χρήσιμα τηλέφωνα",
                     "Button10=Αριθμομηχανή", "Button11=Ημερολογιακά", "Button14=Ραντεβού"}));
}

void MainWindowTest::commands_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("caption");

    QTest::newRow("appointments") << "N28"
                                  << "Button14"
                                  << "TForm1a"
                                  << "Μηνιαία κατάσταση των ραντεβού";
    QTest::newRow("reminders") << "Y1"
                               << "Button5"
                               << "TForm11"
                               << "Υπενθυμίσεις";
    QTest::newRow("customer search") << "N17"
                                     << "Button2"
                                     << "TForm17"
                                     << "Εύρεση πελάτη";
    QTest::newRow("customer registration") << "N16"
                                           << "Button1"
                                           << "TForm16"
                                           << "Καταχώρηση νέου πελάτη";
    QTest::newRow("expense book") << "N13"
                                  << "Button13"
                                  << "TForm13"
                                  << "Λειτουργικά έξοδα - Επεξεργασία";
    QTest::newRow("expense analysis") << "N14"
                                      << "Button6"
                                      << "TForm14"
                                      << "Λειτουργικά έξοδα - Αναλυτική έρευνα";
    QTest::newRow("monthly expenses") << "N15"
                                      << "Button7"
                                      << "TForm15"
                                      << "Λειτουργικά έξοδα - Κατά μήνα";
    QTest::newRow("period collections") << "N18" << QString() << "TForm59"
                                        << "Εισπράξεις σε διάστημα δυο ημερομηνιών";
    QTest::newRow("issued receipts") << "N19"
                                     << "Button9"
                                     << "TForm71"
                                     << "Αποδείξεις που εκδόθηκαν";
    QTest::newRow("notes book") << "N3"
                                << "Button12"
                                << "TForm6"
                                << "Βιβλίο σημειώσεων";
    QTest::newRow("useful phone numbers") << "N10"
                                          << "Button4"
                                          << "TForm10"
                                          << "Χρήσιμα τηλέφωνα";
    QTest::newRow("calendar calculations") << "N4"
                                           << "Button11"
                                           << "TForm8"
                                           << "Ημερολογιακά";
    QTest::newRow("change of code") << "N11" << QString() << "TForm66"
                                    << "Αλλαγή του κωδικού πρόσβασης";
    QTest::newRow("about") << "About1" << QString() << "TForm62"
                           << "About Marivelle";
    QTest::newRow("birthdays") << "N29" << QString() << "TForm23"
                               << "Γενέθλια πελατών";
    QTest::newRow("appointment search") << "N30" << QString() << "TForm24"
                                        << "Αναζήτηση στα ραντεβού";
}

void MainWindowTest::commands() {
    QFETCH(QString, item);
    QFETCH(QString, button);
    QFETCH(QString, screen);
    QFETCH(QString, caption);

    Startup s;
    auto form = s.startSignedIn();
    const LongLivedScreens screens;
    QStringList captions;
    s.onOther = [&](QDialog& d) { captions << d.windowTitle(); };
    auto* action = form->findChild<QAction*>(item);
    QVERIFY(action->isEnabled());
    action->trigger();
    if (!button.isEmpty()) {
        auto* b = form->findChild<QPushButton*>(button);
        QVERIFY(b->isEnabled());
        b->click();
    }
    const int times = button.isEmpty() ? 1 : 2;
    QCOMPARE(s.journal, QStringList(QList<QString>(times, screen)));
    QCOMPARE(captions, QStringList(QList<QString>(times, caption)));
}

void MainWindowTest::boardToggles() {
    Startup s;
    auto form = s.startSignedIn();
    auto* board = form->findChild<QWidget*>(QStringLiteral("Panel4"));
    auto* toggle = form->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    QVERIFY(!board->isVisible());
    QCOMPARE(toggle->text(), QStringLiteral(" "));
    QVERIFY(!toggle->icon().isNull());
    toggle->click();
    QVERIFY(board->isVisible());
    toggle->click();
    QVERIFY(!board->isVisible());
}

void MainWindowTest::statusBarAndClock() {
    Startup s;
    auto form = s.startSignedIn();
    auto* panel0 = form->findChild<QLabel*>(QStringLiteral("StatusBar1Panel0"));
    auto* panel1 = form->findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"));
    QCOMPARE(panel0->width(), 190);
    QCOMPARE(panel1->width(), 520);
    QVERIFY(panel1->text().endsWith(QStringLiteral("Version 2.0.0")));
    QCOMPARE(panel0->text(), QStringLiteral("15/3/2026 10:00:00"));

    Clock::setFixedForTesting(QDateTime(QDate(2026, 3, 16), QTime(9, 5, 7)));
    QTRY_COMPARE_WITH_TIMEOUT(panel0->text(), QStringLiteral("16/3/2026 09:05:07"), 5000);
    auto* clock = form->findChild<AnalogClock*>(QStringLiteral("LMDClock1"));
    QVERIFY(clock);
    QTRY_COMPARE_WITH_TIMEOUT(clock->readout(), QStringLiteral("09:05:07"), 5000);
    // The start-up date stays, as the reminders check saw it.
    QCOMPARE(form->TodayDay, quint16(15));

    auto* calendar = form->findChild<QCalendarWidget*>(QStringLiteral("MonthCalendar1"));
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 15));
    QCOMPARE(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
}

void MainWindowTest::backupText() {
    Startup s;
    auto form = s.startSignedIn();
    form->findChild<QAction*>(QStringLiteral("Backup1"))->trigger();
    QCOMPARE(Messages::shown().size(), 1);
    const QString text = Messages::shown().first().text;
    QVERIFY(text.startsWith(
        QStringLiteral("Για να κάνετε backup τη βάση δεδομένων του λογισμικού πρέπει να "
                       "αντιγράψετε (να κάνετε copy) σε ένα USB Flash Drive ή σε ένα CD ή κάπου "
                       "αλλού, το αρχείο data.mdb που βρίσκεται στο φάκελο (directory) όπου "
                       "είναι εγκατεστημένο το λογισμικό. Όταν θα κάνετε την αντιγραφή να "
                       "προσέξετε ώστε το πρόγραμμα να μην είναι φορτωμένο, δηλαδή να μην "
                       "τρέχει. ")));
    QVERIFY(!text.contains(u'\r') && !text.contains(u'\n'));
    QVERIFY(text.endsWith(u'.'));
}

void MainWindowTest::calculator_data() {
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started"); // or the package the message names
    QTest::newRow("the one there") << "GNOME" << QStringList{"kcalc", "xcalc"} << "kcalc";
    QTest::newRow("only the plainest") << "" << QStringList{"xcalc"} << "xcalc";
    QTest::newRow("GNOME's own before another")
        << "GNOME" << QStringList{"galculator", "gnome-calculator"} << "gnome-calculator";
    QTest::newRow("KDE's own first")
        << "KDE" << QStringList{"gnome-calculator", "kcalc"} << "kcalc";
    QTest::newRow("MATE's own first")
        << "MATE" << QStringList{"gnome-calculator", "mate-calc"} << "mate-calc";
    QTest::newRow("Xfce's choice first")
        << "XFCE" << QStringList{"gnome-calculator", "galculator"} << "galculator";
    QTest::newRow("none: GNOME's to install") << "GNOME" << QStringList{} << "gnome-calculator";
    QTest::newRow("none on KDE: its own to install")
        << "KDE" << QStringList{"gnome-calculator-docs"} << "kcalc";
    QTest::newRow("none on Ubuntu's GNOME")
        << "ubuntu:GNOME" << QStringList{} << "gnome-calculator";
}

void MainWindowTest::calculator() {
    QFETCH(QString, desktop);
    QFETCH(QStringList, installed);
    QFETCH(QString, started);
    Startup s;
    auto form = s.startSignedIn();
    const QByteArray before = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
    Launcher::setTestMode(true, installed);
    Launcher::clearCalls();
    Messages::clearShown();
    form->findChild<QAction*>(QStringLiteral("N5"))->trigger();
    qputenv("XDG_CURRENT_DESKTOP", before);
    if (!installed.contains(started)) {
        QVERIFY(Launcher::calls().isEmpty());
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Error);
        QCOMPARE(Messages::shown().first().text,
                 "Δεν βρέθηκε αριθμομηχανή εγκατεστημένη στον υπολογιστή. Εγκαταστήστε το "
                 "πακέτο " +
                     started + " (με την εντολή: sudo apt install " + started +
                     ") και δοκιμάστε ξανά.");
    } else {
        QCOMPARE(Launcher::calls().size(), 1);
        QCOMPARE(Launcher::calls().first().program, started);
        QVERIFY(Messages::shown().isEmpty());
    }
}

void MainWindowTest::vendorSiteFromTheBackground_data() {
    QTest::addColumn<QString>("area");
    QTest::addColumn<bool>("rightClick");
    for (const char* area : {"Centre", "Image1", "StatusBar1", "Panel1", "Panel3"}) {
        QTest::addRow("double-click %s", area) << QString::fromLatin1(area) << false;
        QTest::addRow("right-click %s", area) << QString::fromLatin1(area) << true;
    }
}

void MainWindowTest::vendorSiteFromTheBackground() {
    QFETCH(QString, area);
    QFETCH(bool, rightClick);
    Startup s;
    auto form = s.startSignedIn();
    Launcher::clearCalls();
    auto* w = form->findChild<QWidget*>(area);
    QVERIFY(w);
    const QPoint at(2, 2);
    if (rightClick) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &menu);
    } else {
        QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at);
    }
    QCOMPARE(Launcher::calls().size(), 1);
    QCOMPARE(Launcher::calls().first().url, Vendor::webSite());
}

void MainWindowTest::aboutWindow() {
    Startup s;
    auto form = s.startSignedIn();
    QStringList texts;
    s.onOther = [&](QDialog& d) {
        for (QLabel* l : d.findChildren<QLabel*>())
            if (!l->text().isEmpty())
                texts << l->text();
        Launcher::clearCalls();
        for (const char* link : {"Label6", "Label8"}) {
            auto* l = d.findChild<QLabel*>(QLatin1String(link));
            QCOMPARE(l->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(l, Qt::LeftButton);
        }
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(1, 1), d.mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(&d, &menu);
        QCOMPARE(Launcher::calls().size(), 3);
        QCOMPARE(Launcher::calls().at(0).url, Vendor::webSite());
        QCOMPARE(Launcher::calls().at(1).url, Vendor::emailUrl());
        QCOMPARE(Launcher::calls().at(2).url, Vendor::webSite());
        // Esc presses OK.
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    };
    form->findChild<QAction*>(QStringLiteral("About1"))->trigger();
    QVERIFY(texts.contains(QStringLiteral("Marivelle")));
    QVERIFY(texts.contains(QStringLiteral("Version 2.0.0")));
    QVERIFY(texts.contains(Vendor::emailAddress()));
}

void MainWindowTest::longLivedScreens() {
    Startup s;
    auto form = s.startSignedIn();
    QVERIFY(!LongLived::find<TForm72>());
    {
        const LongLivedScreens screens;
        QVERIFY(LongLived::find<TForm7>() && LongLived::find<TForm7>()->isHidden());
        TForm72* printout = LongLived::find<TForm72>();
        QVERIFY(printout);
        QVERIFY(!printout->isVisible());
        QCOMPARE(LongLived::find<TForm72>(), printout); // one instance, found again
        QVERIFY(LongLived::find<TForm14>() && !LongLived::find<TForm14>()->isVisible());
        QVERIFY(LongLived::find<TForm15>() && !LongLived::find<TForm15>()->isVisible());
        QVERIFY(LongLived::find<TForm18>() && !LongLived::find<TForm18>()->isVisible());
    }
    QVERIFY(!LongLived::find<TForm72>());
    QVERIFY(!LongLived::find<TForm14>());
}

// Shown again and again, each long-lived screen puts the cursor into its first input every
// time, wherever the last showing left it.
void MainWindowTest::longLivedScreensStartInTheFirstInput_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("left"); // where the cursor was when it closed
    QTest::newRow("notes printing") << "TForm7"
                                    << "Button1"
                                    << "Button3";
    QTest::newRow("expense analysis") << "TForm14"
                                      << "Edit1"
                                      << "Edit2";
    QTest::newRow("monthly expenses") << "TForm15"
                                      << "Edit1"
                                      << "Edit2";
    QTest::newRow("customer catalogue") << "TForm18"
                                        << "DBGrid1"
                                        << "RadioButton3";
    QTest::newRow("customer printouts") << "TForm22"
                                        << "Button1"
                                        << "Button10";
}

void MainWindowTest::longLivedScreensStartInTheFirstInput() {
    QFETCH(QString, screen);
    QFETCH(QString, first);
    QFETCH(QString, left);
    TestDatabase db;
    Messages::setTestMode(true);
    Messages::clearShown();
    db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άννα','Α')"));
    const LongLivedScreens screens;
    LongLived::find<TForm18>()->CatalogueSql = QStringLiteral("SELECT * FROM STOIXEIA_PELATH");
    QDialog* form = nullptr;
    for (QDialog* d : {static_cast<QDialog*>(LongLived::find<TForm7>()),
                       static_cast<QDialog*>(LongLived::find<TForm14>()),
                       static_cast<QDialog*>(LongLived::find<TForm15>()),
                       static_cast<QDialog*>(LongLived::find<TForm18>()),
                       static_cast<QDialog*>(LongLived::find<TForm22>())})
        if (QString::fromLatin1(d->metaObject()->className()) == screen)
            form = d;
    QVERIFY(form);
    auto* firstInput = form->findChild<QWidget*>(first);
    auto* elsewhere = form->findChild<QWidget*>(left);
    QVERIFY(firstInput && elsewhere);
    for (int showing = 1; showing <= 3; ++showing) {
        form->show();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(QApplication::focusWidget(), firstInput);
        elsewhere->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), elsewhere);
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }
    QCOMPARE(Messages::shownTexts(), QStringList());
}

void MainWindowTest::exitAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("throughMenu");
    QTest::newRow("No, close box") << false << false;
    QTest::newRow("Yes, close box") << true << false;
    QTest::newRow("No, menu") << false << true;
    QTest::newRow("Yes, menu") << true << true;
}

void MainWindowTest::exitAsks() {
    QFETCH(bool, yes);
    QFETCH(bool, throughMenu);
    Startup s;
    auto form = s.startSignedIn();
    bool hiddenDuringSplash = false;
    s.onOther = [](QDialog&) {};
    Modal::setTestHook([&](QDialog& d) {
        hiddenDuringSplash = !form->isVisible();
        return s.work(d);
    });
    s.answers = {yes};
    if (throughMenu)
        form->findChild<QAction*>(QStringLiteral("N22"))->trigger();
    else
        form->close();
    QStringList expected{QStringLiteral("message:Έξοδος;")};
    if (yes)
        expected << QStringLiteral("TForm4");
    QCOMPARE(s.journal, expected);
    QCOMPARE(form->isVisible(), !yes);
    QCOMPARE(hiddenDuringSplash, yes);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
