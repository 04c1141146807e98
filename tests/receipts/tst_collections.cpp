#include "../ui/UiFixture.h"

#include "customers/Unit18.h"
#include "receipts/Unit57.h"
#include "receipts/Unit59.h"
#include "ui/DBText.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {

// Receipts 1 to 5 of 2006 to 2008, each with its collection; receipt 3 is cancelled, as the
// register leaves it: its collection gone, the receipt no longer valid. Customer 42 holds 2,
// 3 and 4; customer 7 holds the others.
struct Book {
    TestDatabase db;
    Book() {
        scriptMessages();
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
    const QAbstractItemModel* m = child<QAbstractItemView>(form, "DBGrid1")->model();
    QStringList rows;
    for (int r = 0; r < m->rowCount(); ++r)
        rows << m->index(r, 0).data().toString() + ' ' + m->index(r, 1).data().toString() + ' ' +
                    m->index(r, 4).data().toString();
    return rows.join(u',') + " / " + shown(form, kTotals);
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
        Modal::setTestHook({});
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
    }
};

QTEST_MAIN(TestCollections)
#include "tst_collections.moc"
