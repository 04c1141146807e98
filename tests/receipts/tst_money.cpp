#include "data/Money.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)

// The receipt's cents, the numbers written into statements and the typed amounts.
class TestMoney : public QObject {
    Q_OBJECT

private slots:
    // Typed amount and rate in, the four numbers as the statements write them out: amount,
    // pounds, VAT, total.
    void receipt_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* name, QString amount, QString rate, QString written) {
            QTest::newRow(name) << amount << rate << written;
        };
        row("binary half 1.875 down", "12,5", "15", "12.5 7.32 1.87 14.37");
        row("whole values", "20", "15", "20 11.71 3 23");
        row("25: no rounding", "25", "15", "25 14.63 3.75 28.75");
        row("binary half 0.375 down", "2,5", "15", "2.5 1.46 0.37 2.87");
        row("rate 0: total is the amount", "12,5", "0", "12.5 7.32 0 12.5");
        row("4.9995 up", "33,33", "15", "33.33 19.51 5 38.33");
        row("no VAT left", "0,01", "15", "0.01 0.01 0 0.01");
        row("stored as typed", "10,005", "15", "10.005 5.86 1.5 11.505");
        row("rate with decimals", "100", "6,5", "100 58.53 6.5 106.5");
    }
    void receipt() {
        QFETCH(QString, amount);
        QFETCH(QString, rate);
        QFETCH(QString, written);
        const Money::Receipt r = Money::work(*Money::parseTyped(amount), *Money::parseTyped(rate));
        QVERIFY(r.isAcceptable());
        const QStringList out = {Money::statementText(r.amount), Money::statementText(r.pounds),
                                 Money::statementText(r.vat), Money::statementText(r.total)};
        QCOMPARE(out.join(u' '), written);
    }

    // 0.225 lies just above the half in binary, so it goes up where 1.875 goes down.
    void centsFollowTheDouble() { QCOMPARE(Money::roundToCents(0.225), 0.23); }

    void statementText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("below 0.00001: exponent") << 1e-6 << "1E-6";
        QTest::newRow("0.00001 still plain") << 0.00001 << "0.00001";
        QTest::newRow("15 significant digits") << 0.1 + 0.2 << "0.3";
        QTest::newRow("15 digits kept") << 123456789.012345 << "123456789.012345";
        QTest::newRow("15 integer digits plain") << 999999999999999.0 << "999999999999999";
        QTest::newRow("16 integer digits: exponent") << 1e15 << "1E15";
        QTest::newRow("exponent with decimals") << 1.5e20 << "1.5E20";
        QTest::newRow("largest double stays finite")
            << std::numeric_limits<double>::max() << "1.79769313486231E308";
        QTest::newRow("largest negative stays finite")
            << -std::numeric_limits<double>::max() << "-1.79769313486231E308";
    }
    void statementText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Money::statementText(value), text);
    }

    void parseTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("value");
        QTest::newRow("nearest double") << "0,1" << std::optional(0.1);
        QTest::newRow("sign and exponent") << "-1,5E2" << std::optional(-150.0);
        QTest::newRow("plus, no integer digits") << "+,5e-1" << std::optional(0.05);
        QTest::newRow("comma without decimals") << "7," << std::optional(7.0);
        QTest::newRow("too large: infinity") << "1e400" << std::optional(HUGE_VAL);
        QTest::newRow("too small: zero") << "1e-400" << std::optional(0.0);
        // Each stops the reading at a different place.
        for (const char* refused : {"12.5", "", "5e", "\u0663"})
            QTest::addRow("refused \"%s\"", refused) << QString(refused) << std::optional<double>();
    }
    void parseTyped() {
        QFETCH(QString, text);
        QFETCH(std::optional<double>, value);
        QCOMPARE(Money::parseTyped(text), value);
    }

    // The collection row carries no names; the receipt row quotes them, apostrophes doubled.
    void statements() {
        const Money::Entry entry{"42", "Ζωή", "Ντ'Αμίκο", "57", "Μανικιούρ", "1"};
        const Money::Receipt r = Money::work(12.5, 15);
        QCOMPARE(Money::collectionInsert(entry, r),
                 "INSERT INTO EISPRAKSH_PELATH(ID,POSO,PERIGRAFH,TAMEIO,POSO_CY,AR_APODEIKSHS,VAT,"
                 "SYNOLIKO_POSO) VALUES(42,12.5,'Μανικιούρ','1',7.32,57,1.87,14.37)");
        QCOMPARE(
            Money::receiptInsert(entry, r),
            "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,TAMEIO,POSO_CY,"
            "PERIGRAFH,VAT,SYNOLIKO_POSO) VALUES(57,'Ζωή','Ντ''Αμίκο','Ζωή Ντ''Αμίκο',12.5,"
            "'1',7.32,'Μανικιούρ',1.87,14.37)");
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
