#include "../ui/UiFixture.h"
#include "SheetFile.h"

#include "customers/Unit18.h"
#include "receipts/Unit57.h"
#include "receipts/Unit59.h"
#include "ui/DBText.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

namespace {

// Receipts 1 to 5 of 2006 to 2008, each with its collection; receipt 3 is cancelled, as the
// register leaves it: its collection gone, the receipt no longer valid. Customer 42 holds 2,
// 3 and 4; customer 7 holds the others.
struct Book : ScreenFixture {
    Book() {
        const char* receipts[] = {"1,'2006-12-31',7,100,10", "2,'2007-01-01',42,20,3",
                                  "3,'2007-06-15',42,50,5", "4,'2007-12-31',42,12.5,1.87",
                                  "5,'2008-01-01',7,200,20"};
        for (const char* r : receipts) {
            const QString v = QString::fromLatin1(r);
            db.exec("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,EPWNYMO,POSO,VAT) "
                    "SELECT " +
                    v.section(',', 0, 1) + ",'Νικολάου'," + v.section(',', 3));
            db.exec("INSERT INTO EISPRAKSH_PELATH(AR_APODEIKSHS,HMEROMHNIA,ID,POSO,VAT) VALUES(" +
                    v + ")");
        }
        db.exec("UPDATE EISPRAKSH_PELATH SET SYNOLIKO_POSO=POSO+VAT, PERIGRAFH='Μανικιούρ'");
        cancel(3);
    }
    void cancel(int number) const {
        db.exec(QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=%1;"
                               "UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=%1")
                    .arg(number));
    }
};

// What a screen shows in its value labels, in the order named, joined by '|'.
QString shown(const QWidget& form, const QStringList& labels) {
    QStringList texts;
    for (const QString& l : labels)
        texts << child<QLabel>(form, l)->text();
    return texts.join(u'|');
}
const QStringList kTotals = {"DBText1", "DBText2", "DBText4", "DBText3"};
const QStringList kSums = {"DBText1", "DBText3", "DBText2"};

// The rows of the list as "number date amount", and the totals.
QString listed(const TForm57& form) {
    return gridRows(form, "DBGrid1", {0, 1, 4}).join(u',') + " / " + shown(form, kTotals);
}

// Typed bounds, the figures expected or the refusal, and a statement run before searching.
struct Period {
    QString from, to, expected, setup = {};
};

} // namespace
Q_DECLARE_METATYPE(Period)

class TestCollections : public QObject {
    Q_OBJECT

private slots:
    // One customer's collections, newest first, and their totals; cancelled ones are gone.
    void customerCollections_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("cancelled");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("hers only")
            << "42" << 0 << "4 31/12/2007 12,50,2 1/1/2007 20,00 / 2|32,50|4,87|37,37"
            << QStringList();
        QTest::newRow("one more cancelled")
            << "42" << 4 << "2 1/1/2007 20,00 / 1|20,00|3,00|23,00" << QStringList();
        QTest::newRow("none") << "8" << 0 << " / 0|||" << QStringList();
        QTest::newRow("not a number") << "42 OR 1=1" << 0 << " / |||"
                                      << QStringList{"Λανθασμένος αριθμός πελάτη: \"42 OR 1=1\"."};
    }
    void customerCollections() {
        QFETCH(QString, id);
        QFETCH(int, cancelled);
        Book book;
        if (cancelled)
            book.cancel(cancelled);
        TForm57 form;
        form.CustomerId = id;
        QVERIFY(showActive(form));
        QTEST(listed(form), "expected");
        QTEST(Messages::shownTexts(), "messages");
    }

    // The catalogue's button and menu item hand over the current customer.
    void openedFromCatalogue_data() {
        QTest::addColumn<bool>("menu");
        QTest::newRow("button") << false;
        QTest::newRow("menu") << true;
    }
    void openedFromCatalogue() {
        QFETCH(bool, menu);
        Book book;
        book.db.exec(
            "INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO) VALUES(42,' Ελένη ','Νικολάου')");
        TForm18 catalogue;
        catalogue.CatalogueSql = "SELECT * FROM STOIXEIA_PELATH";
        QString seen;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* f = qobject_cast<TForm57*>(&d); f && showActive(*f))
                seen = shown(*f, {"Label3", "Label4"}) + ' ' + listed(*f);
            return 0;
        });
        QVERIFY(showActive(catalogue));
        if (menu)
            child<QAction>(catalogue, "N6")->trigger();
        else
            child<QPushButton>(catalogue, "Button7")->click();
        QCOMPARE(seen, "Ελένη|Νικολάου 4 31/12/2007 12,50,2 1/1/2007 20,00 / 2|32,50|4,87|37,37");
    }

    // The period's sums of valid receipts, both bounds included; every failure leaves the
    // figures of an earlier search empty and says so; a forbidden character offers no search.
    void periodSums_data() {
        QTest::addColumn<Period>("c");
        const QString wrong = TForm59::wrongCriteriaText(), all = "332,50|34,87|297,63";
        QTest::newRow("2007, both bounds included")
            << Period{"01/01/2007", "31/12/2007", "32,50|4,87|27,63"};
        QTest::newRow("none valid") << Period{"1/2/2007", "30/6/2007", "||"};
        QTest::newRow("points, not offered") << Period{"01.01.2007", "31/12/2007", all};
        QTest::newRow("31 February") << Period{"31/02/2007", "31/12/2007", wrong};
        QTest::newRow("letters") << Period{"αύριο", "31/12/2007", wrong};
        QTest::newRow("store refuses")
            << Period{"01/01/2007", "31/12/2007", wrong, "DROP TABLE APODEIKSEIS"};
    }
    void periodSums() {
        QFETCH(Period, c);
        Book book;
        TForm59 form;
        QVERIFY(showActive(form));
        const auto search = [&](const QString& a, const QString& b) {
            child<QLineEdit>(form, "Edit1")->setText(a);
            child<QLineEdit>(form, "Edit2")->setText(b);
            QTest::keyClick(&form, Qt::Key_Return);
        };
        search("01/01/2006", "31/12/2008");
        QCOMPARE(shown(form, kSums), "332,50|34,87|297,63");
        if (!c.setup.isEmpty())
            book.db.exec(c.setup);
        search(c.from, c.to);
        const bool refused = c.expected == TForm59::wrongCriteriaText();
        QCOMPARE(shown(form, kSums), refused ? "||" : c.expected);
        QCOMPARE(Messages::shownTexts(), refused ? QStringList{c.expected} : QStringList());
        // The workbook goes with the figures shown.
        QCOMPARE(child<QPushButton>(form, "Button3")->isEnabled(), !refused);
    }

    // A customer's collections and a period's sums saved as workbooks, with their totals.
    void workbooks_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("input"); // the customer, or the period
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cells");
        const QString titles = "*Αριθμός απόδειξης|*Ημερ. έκδοσης απόδειξης|*Περιγραφή|*Ταμείο|"
                               "*Ποσό (EUR)|*Φ.Π.Α (EUR)|*Ποσό + Φ.Π.Α (EUR)";
        QTest::newRow("her collections, newest first, the sums and the count")
            << "57"
            << "42"
            << "Εισπράξεις Ελένη Νικολάου"
            << titles + ";#4|@2007-12-31|Μανικιούρ||#12.5|#1.87|#14.37"
                        ";#2|@2007-01-01|Μανικιούρ||#20|#3|#23;||||||"
                        ";*Σύνολο||||*#32.5|*#4.87|*#37.37"
                        ";*Συνολικός αριθμός αποδείξεων:||*#2||||";
        QTest::newRow("a customer without collections: a count of 0")
            << "57"
            << "8"
            << "Εισπράξεις Ελένη Νικολάου"
            << titles + ";||||||;*Σύνολο||||||;*Συνολικός αριθμός αποδείξεων:||*#0||||";
        const QString sums = "*Από|*Μέχρι|*Έσοδα (EUR)|*Φ.Π.Α (EUR)|*Έσοδα - Φ.Π.Α (EUR)";
        QTest::newRow("the sums of 2007") << "59"
                                          << "01/01/2007-31/12/2007"
                                          << "Εισπράξεις 1-1-2007 έως 31-12-2007"
                                          << sums + ";@2007-01-01|@2007-12-31|#32.5|#4.87|#27.63";
        QTest::newRow("a period without valid receipts")
            << "59"
            << "1/2/2007-30/6/2007"
            << "Εισπράξεις 1-2-2007 έως 30-6-2007" << sums + ";@2007-02-01|@2007-06-30|||";
    }
    void workbooks() {
        QFETCH(QString, screen);
        QFETCH(QString, input);
        QFETCH(QString, name);
        QFETCH(QString, cells);
        Book book;
        std::unique_ptr<Screen> form;
        QString proposed;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* dialog = qobject_cast<QFileDialog*>(&d)) {
                proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        if (screen == u"57") {
            auto* collections = new TForm57;
            form.reset(collections);
            collections->CustomerId = input;
            collections->CustomerName = "Ελένη";
            collections->CustomerSurname = "Νικολάου";
            QVERIFY(showActive(*form));
            QCOMPARE(child<QPushButton>(*form, "Button2")->text(), "Εξα&γωγή σε Excel…");
            child<QPushButton>(*form, "Button2")->click();
        } else {
            form = std::make_unique<TForm59>();
            QVERIFY(showActive(*form));
            QVERIFY(!child<QPushButton>(*form, "Button3")->isEnabled());
            child<QLineEdit>(*form, "Edit1")->setText(input.section(u'-', 0, 0));
            child<QLineEdit>(*form, "Edit2")->setText(input.section(u'-', 1));
            child<QPushButton>(*form, "Button1")->click();
            // Typed afterwards, not searched for: the workbook holds the search.
            child<QLineEdit>(*form, "Edit1")->setText("1/1/2000");
            QCOMPARE(child<QPushButton>(*form, "Button3")->text(), "Εξα&γωγή σε Excel…");
            child<QPushButton>(*form, "Button3")->click();
        }
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        QCOMPARE(proposed, name + ".xlsx");
        SheetFile file;
        MV_VERIFY_NOTHROW(file = readXlsx(QDir(book.db.dir()).filePath(proposed)));
        QCOMPARE(file.sheets, QStringList{name.replace("Εισπράξεις 1", "Έσοδα 1")});
        QCOMPARE(file.text(), cells);
    }
};

QTEST_MAIN(TestCollections)
#include "tst_collections.moc"
