#include "ReportFixture.h"
#include "ScreenFixture.h"
#include "TestSupport.h"

#include "receipts/Unit72.h"
#include "ui/ReportPreview.h"
#include "ui/Seams.h"

#include <QDialog>

namespace {

void addHeaderAndReceipts(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO INFORMATION (TITLE, ADDRESS1, ADDRESS2, PHONE, FAX, WEBSITE, EMAIL, AFT, "
        "AFPA, EXTRA1, EXTRA2, EXTRA3, EXTRA4, EXTRA5, EXTRA6, EXTRA7) VALUES ('Κέντρο "
        "Αισθητικής Ίριδα', 'Ερμού 45', '10563 Αθήνα', '2103210000', '2103210001', "
        "'www.irida.gr', 'info@irida.gr', '099999999', 'ΔΟΥ Α Αθηνών', 'Γραμμή ένα', 'Γραμμή "
        "δύο', 'Γραμμή τρία', 'Γραμμή τέσσερα', 'Γραμμή πέντε', 'Γραμμή έξι', 'Γραμμή "
        "επτά')"));
    db.exec(QStringLiteral(
        "INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, POSO, "
        "TAMEIO, POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO, EGKYRH) VALUES "
        "(1001, '2024-05-17', 'Μαρία', 'Παπαδοπούλου', 'Μαρία Παπαδοπούλου', 40, 'ΕΦΚΑ', 23.41, "
        "'Καθαρισμός προσώπου', 9.2, 49.2, 1), "
        "(1002, '2024-05-18', 'Νίκος', 'Αλεξίου', NULL, 12.5, NULL, 7.31, 'Κούρεμα', 0, 12.5, 1), "
        "(12345, '2024-06-01', 'Άννα', 'Ιωάννου', 'Άννα Ιωάννου', 30, 'ΟΠΑΔ', 17.55, "
        "'Πεντικιούρ', 0, 30, 0)"));
}

const QStringList kHeader = {QStringLiteral("Κέντρο Αισθητικής Ίριδα"),
                             QStringLiteral("Ερμού 45"),
                             QStringLiteral("10563 Αθήνα"),
                             QStringLiteral("2103210000"),
                             QStringLiteral("2103210001"),
                             QStringLiteral("www.irida.gr"),
                             QStringLiteral("info@irida.gr"),
                             QStringLiteral("099999999"),
                             QStringLiteral("ΔΟΥ Α Αθηνών"),
                             QStringLiteral("Γραμμή ένα"),
                             QStringLiteral("Γραμμή δύο"),
                             QStringLiteral("Γραμμή τρία"),
                             QStringLiteral("Γραμμή τέσσερα"),
                             QStringLiteral("Γραμμή πέντε"),
                             QStringLiteral("Γραμμή έξι"),
                             QStringLiteral("Γραμμή επτά")};

} // namespace

// The receipt printout: which layout, which data, and what it leaves behind.
class TestReceiptPrint : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }
    void cleanup() { ScreenFixture::end(); }

    void layoutFollowsTheVatRate_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");

        const QStringList receipt = {QStringLiteral("ΑΠΟΔΕΙΞΗ"),
                                     QStringLiteral("1001"),
                                     QStringLiteral("17/5/2024"),
                                     QStringLiteral("Μαρία Παπαδοπούλου"),
                                     QStringLiteral("Καθαρισμός προσώπου"),
                                     QStringLiteral("ΕΦΚΑ")};
        QTest::newRow("rate 0: without VAT")
            << "0" << 1001 << "APODEIKSEIS.pdf"
            << (kHeader + receipt + QStringList{QStringLiteral("Ποσό 40,00 €")})
            << QStringList{QStringLiteral("Σύνολο"), QStringLiteral("49,20")};
        QTest::newRow("rate 0.01: with VAT")
            << "0.01" << 1001 << "APODEIKSEISVAT.pdf"
            << (kHeader + receipt +
                QStringList{QStringLiteral("Αξία 40,00 €"), QStringLiteral("Φ.Π.Α. 0,01% 9,20 €"),
                            QStringLiteral("Σύνολο 49,20 €")})
            << QStringList{QStringLiteral("Ποσό")};
        QTest::newRow("rate 15: with VAT")
            << "15" << 1001 << "APODEIKSEISVAT.pdf"
            << (kHeader + receipt + QStringList{QStringLiteral("Φ.Π.Α. 15% 9,20 €")})
            << QStringList{};
        QTest::newRow("no payer name: name and surname")
            << "0" << 1002 << "APODEIKSEIS.pdf"
            << QStringList{QStringLiteral("Νίκος Αλεξίου"), QStringLiteral("Κούρεμα"),
                           QStringLiteral("12,50 €")}
            << QStringList{QStringLiteral("Παπαδοπούλου")};
        QTest::newRow("five digits, cancelled: printed unchanged")
            << "24" << 12345 << "APODEIKSEISVAT.pdf"
            << QStringList{QStringLiteral("12345"), QStringLiteral("Άννα Ιωάννου"),
                           QStringLiteral("Πεντικιούρ"), QStringLiteral("30,00 €")}
            << QStringList{QStringLiteral("12.345")};
        QTest::newRow("number 0: the header over an empty receipt")
            << "15" << 0 << "APODEIKSEISVAT.pdf"
            << (kHeader + QStringList{QStringLiteral("ΑΠΟΔΕΙΞΗ"),
                                      QStringLiteral("Αριθμός απόδειξης:"),
                                      QStringLiteral("Εισπράχθηκε από")})
            << QStringList{QStringLiteral("Παπαδοπούλου"), QStringLiteral("€")};
    }
    void layoutFollowsTheVatRate() {
        QFETCH(QString, rate);
        QFETCH(int, number);
        QFETCH(QString, pdf);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);

        TestDatabase db;
        copyShippedReports(db.dir());
        addHeaderAndReceipts(db);
        db.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (%1)").arg(rate));
        PdfFolder out;
        TForm72 form;
        form.ReceiptNumber = number;
        MV_VERIFY_NOTHROW(form.PrintReceipt());

        QCOMPARE(out.files(), QStringList{pdf});
        const QString text = flattened(pdfText(out.file(pdf), {QStringLiteral("-layout")}));
        const QString fault = textFault(text, present, absent);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(form.ReceiptNumber, number);
    }

    // The engine gets the statement exactly as written, opens the receipt query itself,
    // and after the preview closes nothing stays open.
    void statementAndWhatIsLeftOpen_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("12345") << 12345;
        QTest::newRow("0") << 0;
    }
    void statementAndWhatIsLeftOpen() {
        QFETCH(int, number);
        TestDatabase db;
        copyShippedReports(db.dir());
        addHeaderAndReceipts(db);
        db.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (24)"));
        qunsetenv("MARIVELLE_REPORT_PDF_DIR");
        TForm72 form;
        QString sql;
        bool queryOpen = false, tablesOpen = false;
        int previews = 0;
        Modal::setTestHook([&](QDialog& d) {
            previews += qobject_cast<ReportPreview*>(&d) ? 1 : 0;
            sql = form.ADOQuery1->sqlText();
            queryOpen = form.ADOQuery1->isActive();
            tablesOpen = form.ADOTable1->isActive() && form.ADOTable2->isActive();
            return int(QDialog::Rejected);
        });
        form.ReceiptNumber = number;
        MV_VERIFY_NOTHROW(form.PrintReceipt());

        QCOMPARE(previews, 1);
        QCOMPARE(sql,
                 QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
                                "Format(POSO,'0.00') AS POSO, TAMEIO, Format(SYNOLIKO_POSO,'0.00') "
                                "as SYNOLIKO_POSO, Format(VAT,'0.00') as VAT, PERIGRAFH FROM "
                                "APODEIKSEIS  WHERE AR_APODEIKSHS=%1")
                     .arg(number));
        QVERIFY(queryOpen);
        QVERIFY(tablesOpen);
        QVERIFY(!form.ADOQuery1->isActive());
        QVERIFY(form.ADOQuery1->sql().isEmpty());
        QVERIFY(!form.ADOTable1->isActive());
        QVERIFY(!form.ADOTable2->isActive());
        QVERIFY(!form.ADOConnection1->isConnected());
    }

    // Errors reach the caller, and the printout is closed behind them all the same.
    void errorsReachTheCaller_data() {
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("rate"); // empty: no row
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message"); // %1: the working folder
        QTest::newRow("missing file without VAT")
            << false << "0"
            << ""
            << "The following reporting project does not exist:\r\"%1/APODEIKSEIS.RAV\"";
        QTest::newRow("missing file with VAT")
            << false << "15"
            << ""
            << "The following reporting project does not exist:\r\"%1/APODEIKSEISVAT.RAV\"";
        QTest::newRow("no VAT rate") << true << ""
                                     << ""
                                     << "Δεν έχει οριστεί συντελεστής Φ.Π.Α.";
        QTest::newRow("no receipts table") << true << "15"
                                           << "DROP TABLE APODEIKSEIS"
                                           << "no such table: APODEIKSEIS";
    }
    void errorsReachTheCaller() {
        QFETCH(bool, withFiles);
        QFETCH(QString, rate);
        QFETCH(QString, damage);
        QFETCH(QString, message);
        TestDatabase db;
        if (withFiles)
            copyShippedReports(db.dir());
        addHeaderAndReceipts(db);
        if (!rate.isEmpty())
            db.exec(
                QStringLiteral("INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (%1)").arg(rate));
        if (!damage.isEmpty())
            db.exec(damage);
        PdfFolder out;
        TForm72 form;
        form.ReceiptNumber = 1001;
        try {
            form.PrintReceipt();
            QFAIL("no error");
        } catch (const std::exception& e) {
            const QString text = QString::fromUtf8(e.what());
            if (damage.isEmpty())
                QCOMPARE(text, message.arg(db.dir()));
            else
                QVERIFY2(text.contains(message), qPrintable(text));
        }
        QVERIFY(out.files().isEmpty());
        QVERIFY(Messages::shownTexts().isEmpty());
        QVERIFY(!form.ADOTable1->isActive());
        QVERIFY(!form.ADOTable2->isActive());
        QVERIFY(!form.ADOQuery1->isActive());
        QVERIFY(form.ADOQuery1->sql().isEmpty());
        QVERIFY(!form.ADOConnection1->isConnected());
    }

    // With no header data stored, the receipt prints without a header.
    void emptyHeaderPrintsTheReceiptAlone() {
        TestDatabase db;
        copyShippedReports(db.dir());
        addHeaderAndReceipts(db);
        db.exec(QStringLiteral("DELETE FROM INFORMATION"));
        db.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (0)"));
        PdfFolder out;
        TForm72 form;
        form.ReceiptNumber = 1001;
        MV_VERIFY_NOTHROW(form.PrintReceipt());
        const QString text = flattened(pdfText(out.file(QStringLiteral("APODEIKSEIS.pdf"))));
        QVERIFY2(text.contains(QStringLiteral("Μαρία Παπαδοπούλου")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Ίριδα")));
    }

    // Created at program start: it takes the connection string and opens nothing.
    void creationOpensNothing() {
        TestDatabase db;
        TForm72 form;
        QVERIFY(form.isHidden());
        QVERIFY(!form.ADOConnection1->isConnected());
        QCOMPARE(form.ADOConnection1->connectionString(), db.connectionString());
        QCOMPARE(form.ADOConnection1->commandTimeout(), 0);
        QCOMPARE(form.ADOConnection1->connectionTimeout(), 0);
    }
};

QTEST_MAIN(TestReceiptPrint)
#include "tst_receipt_print.moc"
