#include "../app/StartupFixture.h"
#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "data/StoreError.h"
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
// What each screen's first field stores.
const QHash<QString, QString> kFirstField{
    {"9", kCounter}, {"68", kRate}, {"73", "SELECT group_concat(TITLE) FROM INFORMATION"}};
const QString kStoredMessage = QStringLiteral("Η καταχώρηση έγινε με επιτυχία.");

void post(QWidget& screen) {
    child<DBNavigator>(screen, "DBNavigator1")->click(DBNavigator::Post);
}

// A data file with the shipped reports and the receipt printout registered, writing PDFs.
struct Printing : ScreenFixture {
    PdfFolder out;
    TForm72 printout;
    Printing() {
        copyShippedReports(db.dir());
        LongLived::add(&printout);
    }
};

// The first field typed into, each text followed by Post ('|' between the texts); nothing
// stored for a refusal, whose message (its first line) is the last one shown.
struct Typing {
    QString screen, seed, typed, stored, message;
};
// A settings command of the main window, its field typed into and posted or not.
struct MenuItem {
    QString item, typed;
    bool post;
    QString query, stored;
    bool locked;
    int ends;
};
// The title posted and the phone left unposted before the preview; texts split at '|'.
struct Preview {
    QString seed, posted, unposted, present, absent;
};
} // namespace
Q_DECLARE_METATYPE(Typing)
Q_DECLARE_METATYPE(MenuItem)
Q_DECLARE_METATYPE(Preview)

// The receipt settings: the counter, the VAT rate and the receipt header.
class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Termination::setTestMode(true);
        Termination::clearRequests();
    }
    void cleanup() { ScreenFixture::end(); }

    // Typing and posting: the row is started in the empty table and edited afterwards; a
    // refused text stays typed with nothing stored; a VAT rate stored ends the program.
    void postOutcome_data() {
        QTest::addColumn<Typing>("c");
        QTest::newRow("counter posted twice: one row") << Typing{"9", "", "1001|2001", "2001", ""};
        QTest::newRow("counter letters")
            << Typing{"9", "", "χίλια", "", "Η τιμή \"χίλια\" δεν είναι έγκυρος ακέραιος αριθμός."};
        QTest::newRow("counter empty")
            << Typing{"9", "", "", "",
                      "Γράψτε τον αριθμό από τον οποίο θα αρχίσει η αρίθμηση των αποδείξεων."};
        QTest::newRow("counter beyond a long integer")
            << Typing{"9", "", "3000000000", "",
                      "Ο αριθμός 3000000000 είναι εκτός των ορίων του αριθμού απόδειξης."};
        QTest::newRow("rate 0 over 15")
            << Typing{"68", "INSERT INTO SYNTELESTHS_VAT VALUES(15)", "0", "0.0", kStoredMessage};
        QTest::newRow("rate 6,5") << Typing{"68", "", "6,5", "6.5", kStoredMessage};
        QTest::newRow("rate letters")
            << Typing{"68", "", "abc", "",
                      "Η τιμή \"abc\" δεν είναι έγκυρος αριθμός. Γράψτε τον με κόμμα για "
                      "δεκαδικά (π.χ 12,50)."};
        QTest::newRow("rate refused by the store") << Typing{
            "68",
            "CREATE TRIGGER refuse BEFORE INSERT ON SYNTELESTHS_VAT BEGIN "
            "SELECT RAISE(ABORT, 'ο δίσκος είναι γεμάτος'); END",
            "24", "", StoreError::sentence(StoreError::Kind::Refused) + "\rο δίσκος είναι γεμάτος"};
        QTest::newRow("header title") << Typing{"73", "", "Ίριδα", "Ίριδα", ""};
    }
    void postOutcome() {
        QFETCH(Typing, c);
        const auto& [screen, seed, typedTexts, stored, message] = c;
        const QStringList typed = typedTexts.split(u'|');
        const int ends = screen == u"68" && !stored.isEmpty();
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
            post(*form);
        }
        const QStringList shown = Messages::shownTexts();
        // As many lines as the row expects: the store's own text stays on the second.
        QCOMPARE(shown.isEmpty() ? QString() : shown.last().section(u'\r', 0, message.count(u'\r')),
                 message);
        QCOMPARE(Termination::requests(), ends);
        if (ends)
            QCOMPARE(shown.last().split(u'\r').size(), 3);
        if (stored.isEmpty()) // refused: the text stays for correcting
            QCOMPARE(edit->text(), typed.last());
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(!form->ADOConnection1->isConnected());
        QCOMPARE(db.scalar(kFirstField[screen]), stored);
    }

    // Through the main window: the numbering command goes once the counter is stored and the
    // screen closed; a VAT rate stored ends the program without asking "Έξοδος;".
    void settingsMenu_data() {
        QTest::addColumn<MenuItem>("c");
        QTest::newRow("numbering stored")
            << MenuItem{"N8", "1001", true, kCounter, "1001", true, 0};
        QTest::newRow("numbering closed unposted")
            << MenuItem{"N8", "1001", false, kCounter, "", false, 0};
        QTest::newRow("VAT rate 24") << MenuItem{"N2", "24", true, kRate, "24.0", false, 1};
    }
    void settingsMenu() {
        QFETCH(MenuItem, c);
        const auto& [item, typed, post, query, stored, locked, ends] = c;
        Startup s;
        auto form = s.startSignedIn();
        s.onOther = [&](QDialog& d) {
            child<DBEdit>(d, "DBEdit1")->setText(typed);
            if (post)
                ::post(d);
            QTest::keyClick(&d, Qt::Key_Escape);
        };
        auto* action = form->findChild<QAction*>(item);
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(s.db.scalar(query), stored);
        QCOMPARE(form->findChild<QAction*>(QStringLiteral("N8"))->isVisible(), !locked);
        QCOMPARE(Global::NumberingLocked, locked);
        QCOMPARE(Termination::requests(), ends);
        QCOMPARE(s.journal.contains("message:" + kStoredMessage), ends > 0);
        QVERIFY(!s.journal.contains(QStringLiteral("message:Έξοδος;")));
        QVERIFY(form->isVisible());
    }

    // The preview prints what is stored over receipt 0: never a change not yet posted, which
    // stays on the screen to be posted afterwards.
    void preview_data() {
        QTest::addColumn<Preview>("c");
        QTest::newRow("empty header")
            << Preview{"", "", "", "ΑΠΟΔΕΙΞΗ|Αριθμός απόδειξης:", "Τηλ.|Α.Φ.Μ.|€"};
        QTest::newRow("typed into the empty table, posted")
            << Preview{"", "Κέντρο Ίριδα", "", "Κέντρο Ίριδα", "Τηλ."};
        QTest::newRow("stored row, a change not posted")
            << Preview{"INSERT INTO INFORMATION (TITLE, AFT) VALUES ('Ίριδα', '099999999')", "",
                       "2101234567", "Ίριδα|099999999", "2101234567"};
        QTest::newRow("receipt 0 exists")
            << Preview{"INSERT INTO APODEIKSEIS (AR_APODEIKSHS, ONOMA, EPWNYMO, POSO, VAT, "
                       "SYNOLIKO_POSO) VALUES (0, 'Μαρία', 'Ιωάννου', 10, 2.4, 12.4)",
                       "Ίριδα", "", "Ίριδα|Μαρία Ιωάννου|12,40", ""};
    }
    void preview() {
        QFETCH(Preview, c);
        Printing p;
        p.db.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT VALUES(24)"));
        if (!c.seed.isEmpty())
            p.db.exec(c.seed);
        TForm73 form;
        QVERIFY(showActive(form));
        if (!c.posted.isEmpty()) {
            child<DBEdit>(form, "DBEdit1")->setText(c.posted);
            post(form);
        }
        auto* phone = child<DBEdit>(form, "DBEdit4");
        if (!c.unposted.isEmpty())
            phone->setText(c.unposted);
        child<QPushButton>(form, "Button2")->click();
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(p.printout.ReceiptNumber, 0);
        QCOMPARE(p.out.files(), QStringList{"APODEIKSEISVAT.pdf"});
        const QString text = flattened(pdfText(p.out.file(QStringLiteral("APODEIKSEISVAT.pdf"))));
        const QString fault = textFault(text, c.present.split(u'|', Qt::SkipEmptyParts),
                                        c.absent.split(u'|', Qt::SkipEmptyParts));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // Nothing typed is lost: the change is still there and posts.
        QCOMPARE(phone->text(), c.unposted);
        post(form);
        QCOMPARE(p.db.scalar("SELECT ifnull(group_concat(PHONE), '') FROM INFORMATION"),
                 c.unposted);
    }

    // Every header field lands in its own column (the stored order runs DBEdit1-8, 16, 9-15).
    void headerFieldsReachTheirColumns() {
        TestDatabase db;
        TForm73 form;
        QVERIFY(showActive(form));
        QStringList expected;
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 16, 9, 10, 11, 12, 13, 14, 15}) {
            child<DBEdit>(form, QStringLiteral("DBEdit%1").arg(n))->setText(QString::number(n));
            expected << QString::number(n);
        }
        post(form);
        QCOMPARE(db.scalar(
                     "SELECT TITLE||'|'||ADDRESS1||'|'||ADDRESS2||'|'||PHONE||'|'||FAX||'|'||"
                     "WEBSITE||'|'||EMAIL||'|'||AFT||'|'||AFPA||'|'||EXTRA1||'|'||EXTRA2||'|'||"
                     "EXTRA3||'|'||EXTRA4||'|'||EXTRA5||'|'||EXTRA6||'|'||EXTRA7 FROM INFORMATION"),
                 expected.join(u'|'));
    }

    void previewWithoutARate() {
        Printing p;
        TForm73 form;
        child<QPushButton>(form, "Button2")->click();
        QCOMPARE(Messages::shownTexts(), QStringList{"Δεν έχει οριστεί συντελεστής Φ.Π.Α."});
        QCOMPARE(p.out.files(), QStringList());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
