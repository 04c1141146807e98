#include "data/Clock.h"
#include "data/Global.h"
#include "data/Values.h"

#include <QTest>

#include <limits>

class TestChecks : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setFixedForTesting(QDate(2026, 6, 15)); }
    void cleanup() { Clock::reset(); }

    void cleanText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clean");
        QTest::newRow("greek surname") << QStringLiteral("Παπαδόπουλος") << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("blanks only") << QStringLiteral("   ") << true;
        QTest::newRow("date with slashes") << QStringLiteral("28/03/2007") << true;
        QTest::newRow("inner blank and digits") << QStringLiteral("Άννα 2") << true;
        QTest::newRow("greek question mark is allowed") << QStringLiteral("τι\u037E") << true;
        QTest::newRow("apostrophe in a name") << QStringLiteral("O'Brien") << false;
        QTest::newRow("date with hyphens") << QStringLiteral("28-03-2007") << false;
        QTest::newRow("date with full stops") << QStringLiteral("28.03.2007") << false;
        QTest::newRow("decimal comma") << QStringLiteral("12,50") << false;
        QTest::newRow("decimal point") << QStringLiteral("12.50") << false;
        QTest::newRow("wildcard") << QStringLiteral("Παπ%") << false;
        QTest::newRow("last character") << QStringLiteral("abc;") << false;
        QTest::newRow("NUL ends a statement") << QStringLiteral("ab") + QChar(0) + u'c' << false;
    }
    void cleanText() {
        QFETCH(QString, text);
        QFETCH(bool, clean);
        QCOMPARE(Global::IsCleanText(text), clean);
    }

    // Every ASCII punctuation character but "/" is refused; nothing else is.
    void cleanTextCoversExactlyTheForbiddenSet() {
        int refused = 0;
        for (char16_t c = 0x20; c < 0x7F; ++c) {
            const bool punct = QChar(c).isPunct() || QChar(c).isSymbol();
            const bool clean = Global::IsCleanText(QString(QChar(c)));
            if (!clean)
                ++refused;
            QCOMPARE(clean, !punct || c == u'/');
        }
        QCOMPARE(refused, 31);
        QVERIFY(Global::IsCleanText(QStringLiteral("é€«»·")));
    }

    void jetDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("literal");
        QTest::newRow("leading zeros")
            << QStringLiteral("28/03/2007") << QStringLiteral("#3/28/2007#");
        QTest::newRow("no zeros") << QStringLiteral("1/1/2008") << QStringLiteral("#1/1/2008#");
        QTest::newRow("surrounding blanks")
            << QStringLiteral(" 5/3/2024 ") << QStringLiteral("#3/5/2024#");
        QTest::newRow("leap day") << QStringLiteral("29/2/2008") << QStringLiteral("#2/29/2008#");
        QTest::newRow("two-digit year, recent")
            << QStringLiteral("1/1/07") << QStringLiteral("#1/1/2007#");
        QTest::newRow("two-digit year, last century")
            << QStringLiteral("1/1/80") << QStringLiteral("#1/1/1980#");
        QTest::newRow("window edge") << QStringLiteral("1/1/76") << QStringLiteral("#1/1/1976#");
        QTest::newRow("window edge below")
            << QStringLiteral("1/1/75") << QStringLiteral("#1/1/2075#");
        QTest::newRow("day and month only")
            << QStringLiteral("28/3") << QStringLiteral("#3/28/2026#");
        QTest::newRow("empty") << QString() << QStringLiteral("ERROR");
        QTest::newRow("letters") << QStringLiteral("αύριο") << QStringLiteral("ERROR");
        QTest::newRow("31st of February")
            << QStringLiteral("31/02/2007") << QStringLiteral("ERROR");
        QTest::newRow("29th of February, no leap year")
            << QStringLiteral("29/2/2007") << QStringLiteral("ERROR");
        QTest::newRow("month 13") << QStringLiteral("1/13/2007") << QStringLiteral("ERROR");
        QTest::newRow("month first is not read")
            << QStringLiteral("3/28/2007") << QStringLiteral("ERROR");
        QTest::newRow("hyphens") << QStringLiteral("28-03-2007") << QStringLiteral("ERROR");
        QTest::newRow("too many parts") << QStringLiteral("1/2/3/4") << QStringLiteral("ERROR");
        QTest::newRow("empty part") << QStringLiteral("1//2007") << QStringLiteral("ERROR");
    }
    void jetDate() {
        QFETCH(QString, typed);
        QFETCH(QString, literal);
        QString text = typed;
        Global::ToJetDate(text);
        QCOMPARE(text, literal);
        QVERIFY(!text.contains(u'\'') && !text.contains(u'"'));
    }

    void numbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("twoDecimals");
        QTest::newRow("whole") << 20.0 << QStringLiteral("20") << QStringLiteral("20,00");
        QTest::newRow("half") << 12.5 << QStringLiteral("12,5") << QStringLiteral("12,50");
        QTest::newRow("cents") << 32.5 << QStringLiteral("32,5") << QStringLiteral("32,50");
        QTest::newRow("binary half rounds up on paper")
            << 2.675 << QStringLiteral("2,675") << QStringLiteral("2,68");
        QTest::newRow("negative") << -3.0 << QStringLiteral("-3") << QStringLiteral("-3,00");
        QTest::newRow("tiny negative is zero")
            << -0.001 << QStringLiteral("-0,001") << QStringLiteral("0,00");
        QTest::newRow("small") << 0.000001 << QStringLiteral("1E-6") << QStringLiteral("0,00");
    }
    void numbers() {
        QFETCH(double, value);
        QFETCH(QString, general);
        QFETCH(QString, twoDecimals);
        QCOMPARE(Values::numberText(value), general);
        QCOMPARE(Values::fixedText(value, 2), twoDecimals);
    }

    // Near the largest double a shown number must still read back, not overflow.
    void largestNumbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::newRow("largest") << std::numeric_limits<double>::max()
                                 << QStringLiteral("1,79769313486231E308");
        QTest::newRow("largest negative")
            << -std::numeric_limits<double>::max() << QStringLiteral("-1,79769313486231E308");
    }
    void largestNumbers() {
        QFETCH(double, value);
        QFETCH(QString, general);
        QCOMPARE(Values::numberText(value), general);
        double again = 0;
        QVERIFY(Values::parseNumber(general, &again));
    }

    void typedValues_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("expected"); // invalid: refused
        QTest::newRow("date") << int(FieldType::Date) << QStringLiteral("28/12/2007")
                              << QVariant(QDate(2007, 12, 28));
        QTest::newRow("blank date is empty") << int(FieldType::Date) << QStringLiteral("  ")
                                             << QVariant(QMetaType(QMetaType::Nullptr));
        QTest::newRow("bad date") << int(FieldType::Date) << QStringLiteral("31/2/2007")
                                  << QVariant();
        QTest::newRow("decimal comma")
            << int(FieldType::Double) << QStringLiteral("12,5") << QVariant(12.5);
        QTest::newRow("whole number")
            << int(FieldType::Double) << QStringLiteral("7") << QVariant(7.0);
        QTest::newRow("thousands point refused")
            << int(FieldType::Double) << QStringLiteral("1.250") << QVariant();
        QTest::newRow("letters refused")
            << int(FieldType::Double) << QStringLiteral("δέκα") << QVariant();
        QTest::newRow("integer") << int(FieldType::Integer) << QStringLiteral("42")
                                 << QVariant(qlonglong(42));
        QTest::newRow("integer with comma")
            << int(FieldType::Integer) << QStringLiteral("4,2") << QVariant();
    }
    void typedValues() {
        QFETCH(int, type);
        QFETCH(QString, typed);
        QFETCH(QVariant, expected);
        if (!expected.isValid()) {
            QVERIFY_THROWS_EXCEPTION(InputError, Values::fromText(FieldType(type), typed));
            return;
        }
        const QVariant v = Values::fromText(FieldType(type), typed);
        if (expected.typeId() == QMetaType::Nullptr)
            QVERIFY(v.isNull());
        else
            QCOMPARE(v, expected);
    }

    void textLongerThanColumnRefused() {
        QVERIFY_THROWS_EXCEPTION(InputError,
                                 Values::fromText(FieldType::Text, QString(51, u'α'), 50));
        QCOMPARE(Values::fromText(FieldType::Text, QString(50, u'α'), 50).toString().size(), 50);
    }

    void displayTexts() {
        QCOMPARE(Values::displayText(FieldType::Date, QDate(2024, 3, 5)),
                 QStringLiteral("5/3/2024"));
        QCOMPARE(Values::displayText(FieldType::Date, QStringLiteral("2035-12-31")),
                 QStringLiteral("31/12/2035"));
        QCOMPARE(Values::displayText(FieldType::Boolean, true), QStringLiteral("True"));
        QCOMPARE(Values::displayText(FieldType::Boolean, false), QStringLiteral("False"));
        QCOMPARE(Values::displayText(FieldType::Double, 12.5), QStringLiteral("12,5"));
        QCOMPARE(Values::displayText(FieldType::Text, QVariant()), QString());
    }
};

QTEST_GUILESS_MAIN(TestChecks)
#include "tst_checks.moc"
