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

    Desk() {
        scriptMessages();
        Modal::setTestHook([](QDialog&) { return 0; });
        LongLived::add(&printout);
        copyShippedReports(db.dir());
        for (const char* table : {"LAST_APODEIKSH VALUES(57)", "SYNTELESTHS_VAT VALUES(15)",
                                  "INFORMATION(TITLE) VALUES('Κέντρο Αισθητικής Ίριδα')"})
            db.exec("INSERT INTO " + QString(table));
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
    QString counter() const { return rows("LAST_APODEIKSH", "[LAST]"); }
    // The table's rows in the order stored, columns joined by '|', rows by ','.
    QString rows(const char* table, QString columns) const {
        return db.scalar("SELECT group_concat(" + columns.replace(u',', "||'|'||") +
                         ") FROM (SELECT * FROM " + table + " ORDER BY rowid)");
    }
};

QPushButton* issueButton(const TForm56& form) {
    return child<QPushButton>(form, "Button1");
}
// The amount, description and fund inputs, in this order.
const char* const kInputs[] = {"Edit3", "Edit2", "Edit4"};
void type(TForm56& form, const QString& amount, const QString& description, const QString& fund) {
    for (int i = 0; const QString& text : {amount, description, fund})
        child<QLineEdit>(form, kInputs[i++])->setText(text);
}
void issue(TForm56& form, const QString& amount, const QString& fund = "1") {
    type(form, amount, QStringLiteral("Μανικιούρ"), fund);
    issueButton(form)->click();
}

// Inputs and a statement run before the screen opens; an empty message: not offered.
struct Refused {
    QString amount = "12,5", description = "Μανικιούρ", fund = {}, setup = {}, message = {};
};
// An empty pdf: the printout's report file is missing.
struct Issued {
    QString surname, fund, rate, pdf;
};

} // namespace
Q_DECLARE_METATYPE(Refused)
Q_DECLARE_METATYPE(Issued)

// Issuing a receipt: the button's checks, what is stored, and what the desk is told.
class TestIssuing : public QObject {
    Q_OBJECT

private slots:
    // Not offered, refused or failed: nothing written, no printout, the screen open. A
    // refusal empties the inputs for another try; a button not offered leaves them typed.
    void nothingStored_data() {
        QTest::addColumn<Refused>("c");
        const QString bad = "Μη αποδεκτή τιμή", failed = "Η καταχώρηση δεν έγινε";
        const auto refuse = [](const char* statement) {
            return "CREATE TRIGGER refuse BEFORE " + QString(statement) +
                   " BEGIN SELECT RAISE(ABORT, 'no'); END";
        };
        QTest::newRow("blank amount") << Refused{.amount = "   "};
        QTest::newRow("blank description") << Refused{.description = " "};
        QTest::newRow("comma in description") << Refused{.description = "Βαφή, χτένισμα"};
        QTest::newRow("forbidden in fund") << Refused{.fund = "ΙΚΑ-ΕΤΑΜ"};
        QTest::newRow("zero") << Refused{.amount = "0", .message = bad};
        QTest::newRow("negative") << Refused{.amount = "-5", .message = bad};
        QTest::newRow("total not finite") << Refused{.amount = "1,7e308", .message = bad};
        QTest::newRow("letters") << Refused{.amount = "δέκα", .message = failed};
        QTest::newRow("no VAT rate")
            << Refused{.setup = "DELETE FROM SYNTELESTHS_VAT", .message = failed};
        QTest::newRow("no counter")
            << Refused{.setup = "DELETE FROM LAST_APODEIKSH", .message = failed};
        QTest::newRow("receipt row refused")
            << Refused{.fund = "ΕΦΚΑ", .setup = refuse("INSERT ON APODEIKSEIS"), .message = failed};
        QTest::newRow("counter update refused")
            << Refused{.setup = refuse("UPDATE ON LAST_APODEIKSH"), .message = failed};
    }
    void nothingStored() {
        QFETCH(Refused, c);
        Desk desk;
        if (!c.setup.isEmpty())
            desk.db.exec(c.setup);
        const QString counter = desk.counter();
        auto form = desk.open();
        QVERIFY(!issueButton(*form)->isEnabled());
        type(*form, c.amount, c.description, c.fund);
        QCOMPARE(issueButton(*form)->isEnabled(), !c.message.isEmpty());
        issueButton(*form)->click();
        QCOMPARE(Messages::shownTexts(),
                 c.message.isEmpty() ? QStringList() : QStringList{c.message});
        QCOMPARE(desk.db.scalar("SELECT (SELECT count(*) FROM EISPRAKSH_PELATH) + "
                                "(SELECT count(*) FROM APODEIKSEIS)"),
                 "0");
        QCOMPARE(desk.counter(), counter);
        QVERIFY(desk.pdfs.files().isEmpty());
        QString typed;
        for (const char* input : kInputs)
            typed += child<QLineEdit>(*form, input)->text();
        QCOMPARE(typed, c.message.isEmpty() ? c.amount + c.description + c.fund : QString());
        QVERIFY(form->isVisible());
    }

    // Stored, counted and closed, also when the printout fails afterwards.
    void issuedReceiptIsStored_data() {
        QTest::addColumn<Issued>("c");
        QTest::newRow("VAT, apostrophe") << Issued{"Ντ'Αμίκο", "1", "15", "APODEIKSEISVAT.pdf"};
        QTest::newRow("empty fund, no VAT") << Issued{"Νικολάου", "", "0", "APODEIKSEIS.pdf"};
        QTest::newRow("printout failed") << Issued{"Νικολάου", "1", "15", ""};
        QTest::newRow("NUL in the surname")
            << Issued{QString("Νικ") + QChar(0) + "ολάου", "1", "15", "APODEIKSEISVAT.pdf"};
    }
    void issuedReceiptIsStored() {
        QFETCH(Issued, c);
        const auto& [surname, fund, rate, pdf] = c;
        Desk desk;
        desk.db.exec("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=" + rate);
        if (pdf.isEmpty())
            QFile::remove(desk.db.dir() + "/APODEIKSEISVAT.RAV");
        auto form = desk.open(QStringLiteral("Ελένη"), surname);
        QCOMPARE(child<QLabel>(*form, "DBText2")->text(), "57");
        issue(*form, "12,5", fund);

        const QStringList shown = Messages::shownTexts();
        QCOMPARE(shown.size(), pdf.isEmpty() ? 1 : 0);
        if (pdf.isEmpty()) // it must not read as a receipt not made
            QVERIFY2(shown[0].startsWith("Η απόδειξη με αριθμό 57 καταχωρήθηκε") &&
                         shown[0].contains("APODEIKSEISVAT.RAV") &&
                         shown[0].contains("«Αποδείξεις που εκδόθηκαν»"),
                     qPrintable(shown[0]));
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
        QCOMPARE(desk.pdfs.files(), pdf.isEmpty() ? QStringList() : QStringList{pdf});
        if (pdf.isEmpty())
            return;
        const QString text = flattened(pdfText(desk.pdfs.file(pdf)));
        const QString printed = QString(surname).replace(QChar(0), u' '); // a NUL prints blank
        QVERIFY2(text.contains("57") && text.contains("Ελένη " + printed), qPrintable(text));
        QCOMPARE(text.contains("Ταμείο"), !fund.isEmpty()); // no empty row on the receipt
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
    }

    // Once numbering is defined, the catalogue's button and menu item both hand over its
    // current customer.
    void catalogueHandsOverItsCustomer() {
        Desk desk;
        desk.db.exec("INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO) VALUES(42,'Ζωή','Ντ''Αμίκο')");
        Global::NumberingLocked = true;
        TForm18 catalogue;
        catalogue.CatalogueSql = "SELECT ID,ONOMA,EPWNYMO FROM STOIXEIA_PELATH";
        QString handed;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* f = qobject_cast<TForm56*>(&d))
                handed += f->CustomerId + '|' + f->CustomerName + '|' + f->CustomerSurname + ' ';
            return 0;
        });
        QVERIFY(showActive(catalogue));
        child<QPushButton>(catalogue, "Button6")->click();
        child<QAction>(catalogue, "KLLLL1")->trigger();
        Global::NumberingLocked = false;
        QCOMPARE(handed, "42|Ζωή|Ντ'Αμίκο 42|Ζωή|Ντ'Αμίκο ");
    }
};

QTEST_MAIN(TestIssuing)
#include "tst_issuing.moc"
