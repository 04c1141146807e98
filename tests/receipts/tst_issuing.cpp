#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "customers/Unit18.h"
#include "data/Global.h"
#include "receipts/Unit56.h"
#include "receipts/Unit72.h"
#include "ui/LongLived.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QPushButton>

namespace {

// A data file with the counter at 57, VAT at 15 %, a header and customer 42; the receipt
// printout registered as program entry does, writing PDF files.
struct Desk {
    TestDatabase db;
    PdfFolder pdfs;
    TForm72 printout;

    explicit Desk(const QString& rate = QStringLiteral("15"),
                  const QString& counter = QStringLiteral("57")) {
        scriptMessages();
        Modal::setTestHook([](QDialog&) { return 0; });
        LongLived::add(&printout);
        copyShippedReports(db.dir());
        if (!counter.isEmpty())
            db.exec("INSERT INTO LAST_APODEIKSH VALUES(" + counter + ")");
        if (!rate.isEmpty())
            db.exec("INSERT INTO SYNTELESTHS_VAT VALUES(" + rate + ")");
        db.exec("INSERT INTO INFORMATION(TITLE) VALUES('Κέντρο Αισθητικής Ίριδα')");
    }
    ~Desk() {
        Modal::setTestHook({});
        LongLived::clear();
    }

    std::unique_ptr<TForm56> open(const QString& name = QStringLiteral("Ελένη"),
                                  const QString& surname = QStringLiteral("Νικολάου")) {
        auto form = std::make_unique<TForm56>();
        form->CustomerId = QStringLiteral("42");
        form->CustomerName = name;
        form->CustomerSurname = surname;
        showActive(*form);
        return form;
    }
    QString count(const char* table) const {
        return db.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table));
    }
    QString counter() const { return rows("LAST_APODEIKSH", "[LAST]"); }
    // The table's rows in the order stored, columns joined by '|', rows by ','.
    QString rows(const char* table, QString columns) const {
        return db.scalar("SELECT group_concat(" + columns.replace(u',', "||'|'||") +
                         ") FROM (SELECT * FROM " + table + " ORDER BY rowid)");
    }
};

QLineEdit* edit(const TForm56& form, const char* name) {
    return child<QLineEdit>(form, name);
}
QPushButton* issueButton(const TForm56& form) {
    return child<QPushButton>(form, "Button1");
}
void type(TForm56& form, const QString& amount, const QString& description, const QString& fund) {
    edit(form, "Edit3")->setText(amount);
    edit(form, "Edit2")->setText(description);
    edit(form, "Edit4")->setText(fund);
}
void issue(TForm56& form, const QString& amount, const QString& fund = "1") {
    type(form, amount, QStringLiteral("Μανικιούρ"), fund);
    issueButton(form)->click();
}

} // namespace

// Issuing a receipt: the button's checks, what is stored, and what the desk is told.
class TestIssuing : public QObject {
    Q_OBJECT

private slots:
    void issueButtonFollowsTheInputs_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("fund");
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char* name, QString amount, QString description, QString fund,
                            bool enabled) {
            QTest::newRow(name) << amount << description << fund << enabled;
        };
        row("all filled", "12,5", "Μανικιούρ", "ΕΦΚΑ", true);
        row("empty fund passes", "12,5", "Μανικιούρ", "", true);
        row("amount not checked", "δέκα", "Μανικιούρ", "", true);
        row("empty amount", "", "Μανικιούρ", "", false);
        row("blank amount", "   ", "Μανικιούρ", "", false);
        row("empty description", "12,5", " ", "", false);
        row("point in description", "12,5", "Μανικ.", "", false);
        row("comma in description", "12,5", "Βαφή, χτένισμα", "", false);
        row("forbidden in fund", "12,5", "Μανικιούρ", "ΙΚΑ-ΕΤΑΜ", false);
    }
    void issueButtonFollowsTheInputs() {
        QFETCH(QString, amount);
        QFETCH(QString, description);
        QFETCH(QString, fund);
        QFETCH(bool, enabled);
        Desk desk;
        auto form = desk.open();
        QVERIFY(!issueButton(*form)->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit(*form, "Edit3"));
        type(*form, amount, description, fund);
        QCOMPARE(issueButton(*form)->isEnabled(), enabled);
    }

    // Refused or failed before anything was stored: nothing written, inputs emptied, the
    // screen open for another try.
    void nothingStored_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("refused"); // the statement a trigger refuses
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, QString amount, QString rate, QString counter,
                            QString refused, bool badValue) {
            QTest::newRow(name) << amount << rate << counter << refused
                                << QString(badValue ? "Μη αποδεκτή τιμή"
                                                    : "Η καταχώρηση δεν έγινε");
        };
        row("zero", "0", "15", "57", "", true);
        row("negative", "-5", "15", "57", "", true);
        row("too large to be a number", "1e400", "15", "57", "", true);
        row("total not finite", "1,7e308", "15", "57", "", true);
        row("letters", "δέκα", "15", "57", "", false);
        row("point for comma", "12.5", "15", "57", "", false);
        row("no VAT rate", "12,5", "", "57", "", false);
        row("no counter", "12,5", "15", "", "", false);
        row("receipt row refused", "12,5", "15", "57", "INSERT ON APODEIKSEIS", false);
        row("counter update refused", "12,5", "15", "57", "UPDATE ON LAST_APODEIKSH", false);
    }
    void nothingStored() {
        QFETCH(QString, amount);
        QFETCH(QString, rate);
        QFETCH(QString, counter);
        QFETCH(QString, refused);
        QFETCH(QString, message);
        Desk desk(rate, counter);
        if (!refused.isEmpty())
            desk.db.exec("CREATE TRIGGER refuse BEFORE " + refused +
                         " BEGIN SELECT RAISE(ABORT, 'no'); END");
        auto form = desk.open();
        issue(*form, amount);
        QCOMPARE(Messages::shownTexts(), QStringList{message});
        QCOMPARE(desk.count("EISPRAKSH_PELATH") + desk.count("APODEIKSEIS"), "00");
        QCOMPARE(desk.counter(), counter);
        QCOMPARE(edit(*form, "Edit3")->text() + edit(*form, "Edit2")->text() +
                     edit(*form, "Edit4")->text(),
                 QString());
        QVERIFY(form->isVisible() && !issueButton(*form)->isEnabled());
        QVERIFY(desk.pdfs.files().isEmpty());
    }

    void issuedReceiptIsStoredAndPrinted_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("fund");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("pdf");
        const auto row = [](const char* name, QString surname, QString fund, QString rate,
                            QString pdf) { QTest::newRow(name) << surname << fund << rate << pdf; };
        row("with VAT", "Νικολάου", "1", "15", "APODEIKSEISVAT.pdf");
        row("apostrophe in the surname", "Ντ'Αμίκο", "1", "15", "APODEIKSEISVAT.pdf");
        row("empty fund, no VAT", "Νικολάου", "", "0", "APODEIKSEIS.pdf");
    }
    void issuedReceiptIsStoredAndPrinted() {
        QFETCH(QString, surname);
        QFETCH(QString, fund);
        QFETCH(QString, rate);
        QFETCH(QString, pdf);
        Desk desk(rate);
        auto form = desk.open(QStringLiteral("Ελένη"), surname);
        QCOMPARE(child<QLabel>(*form, "DBText2")->text(), "57");
        QCOMPARE(child<QLabel>(*form, "Label4")->text(), surname);
        issue(*form, "12,5", fund);

        QCOMPARE(Messages::shownTexts(), QStringList());
        QVERIFY(!form->isVisible());
        const QString vat = rate == u"0" ? "0.0|12.5" : "1.87|14.37";
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(desk.rows("EISPRAKSH_PELATH", "ID,AR_APODEIKSHS,POSO,PERIGRAFH,TAMEIO,POSO_CY,VAT,"
                                               "SYNOLIKO_POSO,HMEROMHNIA"),
                 "42|57|12.5|Μανικιούρ|" + fund + "|7.32|" + vat + "|" + today);
        QCOMPARE(desk.rows("APODEIKSEIS", "AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,TAMEIO,VAT,"
                                          "SYNOLIKO_POSO,HMEROMHNIA,EGKYRH"),
                 "57|Ελένη|" + surname + "|Ελένη " + surname + "|12.5|" + fund + "|" + vat + "|" +
                     today + "|1");
        QCOMPARE(desk.counter(), "58");
        QCOMPARE(desk.printout.ReceiptNumber, 57);
        QCOMPARE(desk.pdfs.files(), QStringList{pdf});
        const QString text = flattened(pdfText(desk.pdfs.file(pdf)));
        QVERIFY2(text.contains("57") && text.contains("Ελένη " + surname), qPrintable(text));
        QCOMPARE(text.contains("Ταμείο"), !fund.isEmpty()); // no empty row on the receipt
    }

    // Once committed, a failed printout must not read as a receipt not made.
    void failedPrintoutSaysTheReceiptIsStored() {
        Desk desk;
        QFile::remove(desk.db.dir() + "/APODEIKSEISVAT.RAV");
        auto form = desk.open();
        issue(*form, "20");
        const QStringList shown = Messages::shownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith("Η απόδειξη με αριθμό 57 καταχωρήθηκε") &&
                     shown[0].contains("APODEIKSEISVAT.RAV") &&
                     shown[0].contains("«Αποδείξεις που εκδόθηκαν»"),
                 qPrintable(shown[0]));
        QCOMPARE(desk.count("EISPRAKSH_PELATH") + '|' + desk.count("APODEIKSEIS"), "1|1");
        QCOMPARE(desk.counter(), "58");
        QVERIFY(!form->isVisible());
    }

    // Two screens opened on the same number: each receipt takes the number stored when it
    // is issued.
    void twoScreensGiveTwoNumbers() {
        Desk desk;
        auto first = desk.open();
        auto second = desk.open(QStringLiteral("Άννα"), QStringLiteral("Ιωάννου"));
        issue(*first, "10");
        issue(*second, "20");
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(desk.rows("APODEIKSEIS", "AR_APODEIKSHS,EPWNYMO,POSO"),
                 "57|Νικολάου|10.0,58|Ιωάννου|20.0");
        QCOMPARE(desk.rows("EISPRAKSH_PELATH", "AR_APODEIKSHS"), "57,58");
        QCOMPARE(desk.counter(), "59");
        QCOMPARE(desk.printout.ReceiptNumber, 58);
    }

    // The catalogue offers receipts once numbering is defined, for its current customer.
    void catalogueOpensIssuingOnceNumberingIsDefined() {
        Desk desk;
        desk.db.exec("INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO) VALUES(42,'Ζωή','Ντ''Αμίκο')");
        Global::NumberingLocked = false;
        TForm18 catalogue;
        catalogue.CatalogueSql = "SELECT ID,ONOMA,EPWNYMO FROM STOIXEIA_PELATH";
        QString handed;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* f = qobject_cast<TForm56*>(&d))
                handed = f->CustomerId + '|' + f->CustomerName + '|' + f->CustomerSurname;
            return 0;
        });
        auto* button = child<QPushButton>(catalogue, "Button6");
        auto* item = child<QAction>(catalogue, "KLLLL1");
        QVERIFY(showActive(catalogue));
        QVERIFY(!button->isEnabled() && !item->isEnabled());
        catalogue.close();
        Global::NumberingLocked = true;
        QVERIFY(showActive(catalogue));
        QVERIFY(button->isEnabled() && item->isEnabled());
        button->click();
        QCOMPARE(handed, "42|Ζωή|Ντ'Αμίκο");
        handed.clear();
        item->trigger();
        QCOMPARE(handed, "42|Ζωή|Ντ'Αμίκο");
        catalogue.close();
        Global::NumberingLocked = false;
    }
};

QTEST_MAIN(TestIssuing)
#include "tst_issuing.moc"
