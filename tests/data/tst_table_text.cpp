#include "data/TableText.h"

#include <QTest>

// Values on their way to a spreadsheet.
class TestTableText : public QObject {
    Q_OBJECT
private slots:
    // Opening a list must not run what a customer's data happens to begin with.
    void formulasAreMadeInert_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("a formula") << "=SUM(A1:A9)"
                                   << "'=SUM(A1:A9)";
        QTest::newRow("a command after @") << "@cmd"
                                           << "'@cmd";
        QTest::newRow("a phone number after +") << "+30 210 1234567"
                                                << "'+30 210 1234567";
        QTest::newRow("text after -") << "-ab"
                                      << "'-ab";
        QTest::newRow("a negative amount") << "-12,50"
                                           << "-12,50";
        QTest::newRow("a signed number") << "+5"
                                         << "+5";
        QTest::newRow("= inside the text") << "a=b"
                                           << "a=b";
        QTest::newRow("empty") << ""
                               << "";
    }
    void formulasAreMadeInert() {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(TableText::inert(value), written);
        QCOMPARE(TableText::tabSeparated({{value}}), written + u'\n');
    }

    void htmlKeepsTheTextAsItIs_data() {
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("html");
        QTest::newRow("with a heading")
            << true
            << "<table><tr><th>&lt;b&gt; &amp; &quot;</th></tr><tr><td>α<br>β</td></tr></table>";
        QTest::newRow("rows only")
            << false
            << "<table><tr><td>&lt;b&gt; &amp; &quot;</td></tr><tr><td>α<br>β</td></tr></table>";
    }
    void htmlKeepsTheTextAsItIs() {
        QFETCH(bool, header);
        QFETCH(QString, html);
        QCOMPARE(
            TableText::htmlTable({{QStringLiteral("<b> & \"")}, {QStringLiteral("α\nβ")}}, header),
            html);
    }
};

QTEST_MAIN(TestTableText)
#include "tst_table_text.moc"
