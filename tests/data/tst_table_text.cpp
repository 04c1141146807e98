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
        const auto row = [](const char* name, const char* value, const char* written) {
            QTest::newRow(name) << QString::fromUtf8(value) << QString::fromUtf8(written);
        };
        row("a formula", "=SUM(A1:A9)", "'=SUM(A1:A9)");
        row("a command after @", "@cmd", "'@cmd");
        row("a phone number after +", "+30 210 1234567", "'+30 210 1234567");
        row("text after -", "-ab", "'-ab");
        row("a negative amount", "-12,50", "-12,50");
        row("a signed number", "+5", "+5");
        row("= inside the text", "a=b", "a=b");
        row("empty", "", "");
    }
    void formulasAreMadeInert() {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(TableText::inert(value), written);
        QCOMPARE(TableText::tabSeparated({{value}}), written + u'\n');
    }

    // Markup stays text and a line break stays in its cell; the first row is the heading.
    void htmlKeepsTheTextAsItIs() {
        QCOMPARE(TableText::htmlTable({{"<b> & \""}, {"α\nβ"}}, true),
                 "<table><tr><th>&lt;b&gt; &amp; &quot;</th></tr><tr><td>α<br>β</td></tr></table>");
    }
};

QTEST_MAIN(TestTableText)
#include "tst_table_text.moc"
