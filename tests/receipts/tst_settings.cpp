#include "../app/StartupFixture.h"
#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "receipts/Unit68.h"
#include "receipts/Unit72.h"
#include "receipts/Unit73.h"
#include "receipts/Unit9.h"
#include "ui/LongLived.h"

#include <QAction>
#include <QLabel>

namespace {
std::unique_ptr<SettingsScreen> makeScreen(const QString& name) {
    if (name == u"9")
        return std::make_unique<TForm9>();
    if (name == u"68")
        return std::make_unique<TForm68>();
    return std::make_unique<TForm73>();
}

const QString kCounter = QStringLiteral("SELECT group_concat([LAST]) FROM LAST_APODEIKSH");
const QString kRate = QStringLiteral("SELECT group_concat(VAT_RATIO) FROM SYNTELESTHS_VAT");
} // namespace

// The receipt settings: the counter, the VAT rate and the receipt header.
class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scriptMessages();
        Termination::setTestMode(true);
        Termination::clearRequests();
    }
    void cleanup() { Modal::setTestHook({}); }

    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("9", "", QStringLiteral("Καθορισμός αρίθμησης των αποδείξεων"));
        addCaption("9", "Label1", QStringLiteral("Έναρξη από τον αριθμό:"));
        addCaption("9", "Button2", QStringLiteral("Έ&ξοδος"));
        addCaption("68", "", QStringLiteral("Συντελεστής Φ.Π.Α"));
        addCaption("68", "Label1", QStringLiteral("Συντελεστής Φ.Π.Α (%):"));
        addCaption("68", "Button2", QStringLiteral("Έ&ξοδος"));
        addCaption("73", "",
                   QStringLiteral("Διαμόρφωση των στοιχείων που θα εμφανίζονται "
                                  "στις αποδείξεις"));
        addCaption("73", "Label7", QStringLiteral("Α.Φ.M:")); // a Latin M
        addCaption("73", "Label8", QStringLiteral("ΑΡ. ΜΗΤΡ. Φ.Π.Α:"));
        addCaption("73", "Button2", QStringLiteral("Προε&πισκόπιση"));
        addCaption("73", "Button1", QStringLiteral("Έ&ξοδος"));
    }
    void captionsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, object);
        QFETCH(QString, text);
        TestDatabase db;
        QCOMPARE(captionOf(*makeScreen(screen), object), text);
    }

    // Tab order, each caption the buddy of its field, each field bound to its column, and
    // the navigator showing Post alone.
    void fieldsInOrder_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("chain"); // edits as control=column<label, then buttons
        QTest::newRow("9") << "9" << QStringList{"DBEdit1=LAST<Label1", "DBNavigator1", "Button2"};
        QTest::newRow("68") << "68"
                            << QStringList{"DBEdit1=VAT_RATIO<Label1", "DBNavigator1", "Button2"};
        QTest::newRow("73") << "73"
                            << QStringList{"DBEdit1=TITLE<Label1",
                                           "DBEdit2=ADDRESS1<Label2",
                                           "DBEdit3=ADDRESS2",
                                           "DBEdit4=PHONE<Label3",
                                           "DBEdit5=FAX<Label4",
                                           "DBEdit6=WEBSITE<Label5",
                                           "DBEdit7=EMAIL<Label6",
                                           "DBEdit8=AFT<Label7",
                                           "DBEdit16=AFPA<Label8",
                                           "DBEdit9=EXTRA1",
                                           "DBEdit10=EXTRA2",
                                           "DBEdit11=EXTRA3",
                                           "DBEdit12=EXTRA4",
                                           "DBEdit13=EXTRA5",
                                           "DBEdit14=EXTRA6",
                                           "DBEdit15=EXTRA7",
                                           "DBNavigator1",
                                           "Button2",
                                           "Button1"};
    }
    void fieldsInOrder() {
        QFETCH(QString, screen);
        QFETCH(QStringList, chain);
        TestDatabase db;
        auto form = makeScreen(screen);
        QStringList seen;
        QWidget* const start = child<QWidget>(*form, "DBEdit1");
        QWidget* w = start;
        do {
            if (auto* edit = qobject_cast<DBEdit*>(w)) {
                QString entry = edit->objectName() + u'=' + edit->dataField();
                for (const QLabel* l : form->findChildren<QLabel*>())
                    if (l->buddy() == edit)
                        entry += u'<' + l->objectName();
                seen << entry;
            } else if (qobject_cast<QPushButton*>(w)) {
                seen << w->objectName();
            } else if (qobject_cast<DBNavigator*>(w->parentWidget()) &&
                       w->isVisibleTo(form.get())) {
                seen << w->parentWidget()->objectName();
            }
            w = w->nextInFocusChain();
        } while (w != start);
        QCOMPARE(seen, chain);
        QCOMPARE(child<DBNavigator>(*form, "DBNavigator1")->visibleButtons(),
                 DBNavigator::Buttons(DBNavigator::Post));
    }

    // Typing and posting: the row is started in the empty table and edited afterwards; a
    // refused text stays typed with nothing stored; a VAT rate stored ends the program.
    void postOutcome_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QStringList>("typed"); // each followed by Post
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message"); // the last one, its first line
        QTest::addColumn<int>("ends");
        const QString ended = QStringLiteral("Η καταχώρηση έγινε με επιτυχία.");
        QTest::newRow("counter 1001") << "9"
                                      << "" << QStringList{"1001"} << kCounter << "1001"
                                      << "" << 0;
        QTest::newRow("counter posted twice: one row")
            << "9"
            << "" << QStringList{"1001", "2001"} << kCounter << "2001"
            << "" << 0;
        QTest::newRow("stored counter corrected")
            << "9"
            << "INSERT INTO LAST_APODEIKSH VALUES(5)" << QStringList{"0"} << kCounter << "0"
            << "" << 0;
        QTest::newRow("counter letters")
            << "9"
            << "" << QStringList{"χίλια"} << kCounter << ""
            << "Η τιμή \"χίλια\" δεν είναι έγκυρος ακέραιος αριθμός." << 0;
        QTest::newRow("counter empty") << "9"
                                       << "" << QStringList{""} << kCounter << ""
                                       << "Γράψτε τον αριθμό από τον οποίο θα αρχίσει η "
                                          "αρίθμηση των αποδείξεων."
                                       << 0;
        QTest::newRow("counter beyond a long integer")
            << "9"
            << "" << QStringList{"3000000000"} << kCounter << ""
            << "Ο αριθμός 3000000000 είναι εκτός των ορίων του αριθμού απόδειξης." << 0;
        QTest::newRow("rate 24") << "68"
                                 << "" << QStringList{"24"} << kRate << "24.0" << ended << 1;
        QTest::newRow("rate 0 over 15") << "68"
                                        << "INSERT INTO SYNTELESTHS_VAT VALUES(15)"
                                        << QStringList{"0"} << kRate << "0.0" << ended << 1;
        QTest::newRow("rate 6,5") << "68"
                                  << "" << QStringList{"6,5"} << kRate << "6.5" << ended << 1;
        QTest::newRow("rate letters") << "68"
                                      << "" << QStringList{"abc"} << kRate << ""
                                      << "Η τιμή \"abc\" δεν είναι έγκυρος αριθμός. Γράψτε τον "
                                         "με κόμμα για δεκαδικά (π.χ 12,50)."
                                      << 0;
        QTest::newRow("rate refused by the store")
            << "68"
            << "CREATE TRIGGER refuse BEFORE INSERT ON SYNTELESTHS_VAT BEGIN "
               "SELECT RAISE(ABORT, 'ο δίσκος είναι γεμάτος'); END"
            << QStringList{"24"} << kRate << ""
            << "ο δίσκος είναι γεμάτος" << 0;
        QTest::newRow("header title")
            << "73"
            << "" << QStringList{"Ίριδα"} << "SELECT group_concat(TITLE) FROM INFORMATION"
            << "Ίριδα"
            << "" << 0;
    }
    void postOutcome() {
        QFETCH(QString, screen);
        QFETCH(QString, seed);
        QFETCH(QStringList, typed);
        QFETCH(QString, query);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(int, ends);
        TestDatabase db;
        if (!seed.isEmpty())
            db.exec(seed);
        auto form = makeScreen(screen);
        QVERIFY(showActive(*form));
        auto* edit = child<DBEdit>(*form, "DBEdit1");
        for (const QString& text : typed) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            typeText(edit, text.isEmpty() ? QStringLiteral("1") : text);
            if (text.isEmpty())
                QTest::keyClick(edit, Qt::Key_Backspace);
            child<DBNavigator>(*form, "DBNavigator1")->click(DBNavigator::Post);
        }
        const QStringList shown = Messages::shownTexts();
        QCOMPARE(shown.isEmpty() ? QString() : shown.last().section(u'\r', 0, 0), message);
        QCOMPARE(Termination::requests(), ends);
        if (ends)
            QCOMPARE(shown.last().split(u'\r').size(), 3);
        if (stored.isEmpty()) // refused: the text stays for correcting
            QCOMPARE(edit->text(), typed.last());
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(!form->ADOConnection1->isConnected());
        QCOMPARE(db.scalar(query), stored);
    }

    // Through the main window: the numbering command goes once the counter is stored and the
    // screen closed; a VAT rate stored ends the program without asking "Έξοδος;".
    void settingsMenu_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("post");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("ends");
        QTest::newRow("numbering stored") << "N8"
                                          << "1001" << true << kCounter << "1001" << true << 0;
        QTest::newRow("numbering closed unposted")
            << "N8"
            << "1001" << false << kCounter << "" << false << 0;
        QTest::newRow("VAT rate 24") << "N2"
                                     << "24" << true << kRate << "24.0" << false << 1;
        QTest::newRow("header unposted") << "N7"
                                         << "Ίριδα" << false << "SELECT count(*) FROM INFORMATION"
                                         << "0" << false << 0;
    }
    void settingsMenu() {
        QFETCH(QString, item);
        QFETCH(QString, typed);
        QFETCH(bool, post);
        QFETCH(QString, query);
        QFETCH(QString, stored);
        QFETCH(bool, locked);
        QFETCH(int, ends);
        Startup s;
        auto form = s.startSignedIn();
        s.onOther = [&](QDialog& d) {
            child<DBEdit>(d, "DBEdit1")->setText(typed);
            if (post)
                child<DBNavigator>(d, "DBNavigator1")->click(DBNavigator::Post);
            QTest::keyClick(&d, Qt::Key_Escape);
        };
        auto* action = form->findChild<QAction*>(item);
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(s.db.scalar(query), stored);
        QCOMPARE(form->findChild<QAction*>(QStringLiteral("N8"))->isVisible(), !locked);
        QCOMPARE(Global::NumberingLocked, locked);
        QCOMPARE(Termination::requests(), ends);
        QCOMPARE(s.journal.contains(QStringLiteral("message:Η καταχώρηση έγινε με επιτυχία.")),
                 ends > 0);
        QVERIFY(!s.journal.contains(QStringLiteral("message:Έξοδος;")));
        QVERIFY(form->isVisible());
    }

    // The preview prints what is stored over receipt 0: never a change not yet posted, which
    // stays on the screen to be posted afterwards.
    void preview_data() {
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("posted");   // into the title
        QTest::addColumn<QString>("unposted"); // into the phone
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QString rate = QStringLiteral("INSERT INTO SYNTELESTHS_VAT VALUES(24);");
        QTest::newRow("empty header") << rate << ""
                                      << "" << QStringList{"ΑΠΟΔΕΙΞΗ", "Αριθμός απόδειξης:"}
                                      << QStringList{"Τηλ.", "Α.Φ.Μ.", "€"};
        QTest::newRow("typed into the empty table, posted")
            << rate << "Κέντρο Ίριδα"
            << "" << QStringList{"Κέντρο Ίριδα"} << QStringList{"Τηλ."};
        QTest::newRow("stored row, a change not posted")
            << rate + "INSERT INTO INFORMATION (TITLE, AFT) VALUES ('Ίριδα', '099999999')"
            << ""
            << "2101234567" << QStringList{"Ίριδα", "099999999"} << QStringList{"2101234567"};
        QTest::newRow("receipt 0 exists")
            << rate + "INSERT INTO APODEIKSEIS (AR_APODEIKSHS, ONOMA, EPWNYMO, POSO, VAT, "
                      "SYNOLIKO_POSO) VALUES (0, 'Μαρία', 'Ιωάννου', 10, 2.4, 12.4)"
            << "Ίριδα"
            << "" << QStringList{"Ίριδα", "Μαρία Ιωάννου", "12,40"} << QStringList{};
    }
    void preview() {
        QFETCH(QString, seed);
        QFETCH(QString, posted);
        QFETCH(QString, unposted);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        TestDatabase db;
        copyShippedReports(db.dir());
        for (const QString& statement : seed.split(u';', Qt::SkipEmptyParts))
            db.exec(statement);
        PdfFolder out;
        TForm72 printout;
        LongLived::add(&printout);
        TForm73 form;
        QVERIFY(showActive(form));
        if (!posted.isEmpty()) {
            child<DBEdit>(form, "DBEdit1")->setText(posted);
            child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        }
        auto* phone = child<DBEdit>(form, "DBEdit4");
        if (!unposted.isEmpty())
            phone->setText(unposted);
        child<QPushButton>(form, "Button2")->click();
        LongLived::clear();
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(printout.ReceiptNumber, 0);
        QCOMPARE(out.files(), QStringList{"APODEIKSEISVAT.pdf"});
        const QString text = flattened(pdfText(out.file(QStringLiteral("APODEIKSEISVAT.pdf"))));
        const QString fault = textFault(text, present, absent);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // Nothing typed is lost: the change is still there and posts.
        QCOMPARE(phone->text(), unposted);
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        QCOMPARE(db.scalar(QStringLiteral("SELECT ifnull(group_concat(PHONE), '') FROM "
                                          "INFORMATION")),
                 unposted);
    }

    void previewWithoutARate() {
        TestDatabase db;
        copyShippedReports(db.dir());
        PdfFolder out;
        TForm72 printout;
        LongLived::add(&printout);
        TForm73 form;
        child<QPushButton>(form, "Button2")->click();
        LongLived::clear();
        QCOMPARE(Messages::shownTexts(), QStringList{"Δεν έχει οριστεί συντελεστής Φ.Π.Α."});
        QCOMPARE(out.files(), QStringList());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
