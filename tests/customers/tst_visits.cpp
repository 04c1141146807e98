#include "../ui/UiFixture.h"

#include "customers/UNIT17A.h"
#include "customers/Unit18.h"
#include "customers/Unit20.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace {

// A fresh file with the customer 7 "Άννα Παππά" (her name stored padded) and her visit of
// 1/2/2024, and customer 3 with a visit of her own.
struct Visits : ScreenFixture {
    Visits() {
        db.exec("INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS,ISTORIKO) "
                "VALUES(3,'Άλλη','Πελάτισσα',NULL,NULL),(7,' Άννα ','Παππά','1980-03-05','αρχή')");
        db.exec("INSERT INTO EPISKEPSEIS VALUES(3,'2024-04-01','ξένη','x'),"
                "(7,'2024-02-01','πριν','')");
    }

    // The catalogue with customer 7 current; `command` opens a screen for her, on which `use`
    // acts before it is closed.
    void open(const char* command, const std::function<void(QWidget&)>& use,
              const QString& meanwhile = {}) const {
        TForm18 catalogue;
        catalogue.CatalogueSql = QStringLiteral("SELECT * FROM STOIXEIA_PELATH ORDER BY ID DESC");
        QVERIFY(showActive(catalogue));
        if (!meanwhile.isEmpty())
            db.exec(meanwhile);
        Modal::setTestHook([&](QDialog& d) {
            [&] {
                QVERIFY(showActive(d));
                use(d);
            }();
            return 0;
        });
        if (auto* button = catalogue.findChild<QPushButton*>(command))
            button->click();
        else
            child<QAction>(catalogue, command)->trigger();
    }
    // Each visit of the file as ID|date|reason|description, "-" for NULL, in stored order.
    QString visits() const {
        return db.scalar("SELECT group_concat(ifnull(ID,'-')||'|'||ifnull(HMEROMHNIA,'-')||'|'||"
                         "ifnull(AITIA,'-')||'|'||ifnull(PERIGRAFH,'-'), ';') "
                         "FROM (SELECT * FROM EPISKEPSEIS ORDER BY rowid)");
    }
};

QLineEdit* edit(const QWidget& screen, int n) {
    return child<QLineEdit>(screen, QStringLiteral("DBEdit%1").arg(n));
}

QString labelText(const QWidget& screen, const char* name) {
    return child<QLabel>(screen, QString::fromLatin1(name))->text();
}

// Visits typed (separated by ';', each date|reason|description), the dates then listed, and
// the rows the file gains ("!" for a refused date).
struct Typing {
    QString typed, listed, added;
};

} // namespace

// A customer's visits and history, opened from the catalogue.
class TestVisits : public QObject {
    Q_OBJECT

private slots:
    // Each typed visit is posted after an Enter in its last field, which must not leave.
    void visitsAreStampedAndListed_data() {
        QTest::addColumn<Typing>("c");
        const auto row = [](const char* name, const Typing& c) { QTest::newRow(name) << c; };
        row("two, listed among the earlier in date order",
            {"10/5/2024|Βαφή|Χρώμα;1/3/2023|Κούρεμα|", "1/3/2023,1/2/2024,10/5/2024",
             "7|2024-05-10|Βαφή|Χρώμα;7|2023-03-01|Κούρεμα|-"});
        row("empty fields: only the customer", {"|", ",1/2/2024", "7|-|-|-"});
        row("31/02/2024 refused", {"31/02/2024|Α|Β", "1/2/2024", "!"});
    }
    void visitsAreStampedAndListed() {
        QFETCH(Typing, c);
        Visits v;
        const QString before = v.visits();
        const bool refused = c.added == u"!";
        v.open("Button1", [&](QWidget& form) {
            QCOMPARE(labelText(form, "Label3") + u' ' + labelText(form, "Label4"), "Άννα Παππά");
            for (const QString& visit : c.typed.split(u';')) {
                const QStringList parts = visit.split(u'|');
                for (int i = 0; i < parts.size(); ++i)
                    typeText(edit(form, i + 1), parts[i]);
                QTest::keyClick(edit(form, 3), Qt::Key_Return);
                child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
            }
            QVERIFY(form.isVisible());
            const QStringList dates = gridColumn(form);
            QCOMPARE(dates.join(u','), c.listed);
            QCOMPARE(labelText(form, "Label10"),
                     QStringLiteral("Βρέθηκαν %1 επισκέψεις").arg(dates.size()));
            // A refused visit stays on screen; a saved one leaves the fields for the next.
            QCOMPARE(edit(form, 1)->text() + edit(form, 2)->text(),
                     refused ? c.typed.section(u'|', 0, 0) + "Α" : QString());
        });
        QCOMPARE(v.visits(), refused ? before : before + ";" + c.added);
        QCOMPARE(Messages::shown().size(), refused ? 1 : 0);
        if (refused)
            QVERIFY(Messages::shownTexts().first().contains(u"ημερομηνία"));
    }

    // Visits deleted from the list, declined and then confirmed down to none, leave the one
    // being typed.
    void deleteKeepsTheVisitBeingTyped() {
        Visits v;
        v.db.exec("INSERT INTO EPISKEPSEIS VALUES(7,'2024-01-01','α','')");
        v.open("Button1", [&](QWidget& form) {
            typeText(edit(form, 2), QStringLiteral("νέα"));
            int left = 2;
            for (const bool confirmed : {false, true, true}) {
                Messages::setNextAnswers({confirmed});
                child<DBNavigator>(form, "DBNavigator2")->click(DBNavigator::Delete);
                left -= confirmed;
                QCOMPARE(labelText(form, "Label10"),
                         QStringLiteral("Βρέθηκαν %1 επισκέψεις").arg(left));
                QCOMPARE(v.db.scalar("SELECT count(*) FROM EPISKEPSEIS WHERE ID=7").toInt(), left);
            }
            child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        });
        QCOMPARE(v.db.scalar("SELECT count(*) FROM EPISKEPSEIS WHERE ID=7 AND AITIA='νέα'"), "1");
    }

    // The history shows as stored and is written only by Post, exactly as pasted; a customer
    // deleted while the catalogue showed her gets no new, nameless row.
    void historyIsSavedOnlyByPost_data() {
        QTest::addColumn<QString>("pasted"); // replaces the whole text
        QTest::addColumn<bool>("post");
        QTest::addColumn<QString>("stored"); // every history in the file
        QTest::newRow("not posted") << "νέο" << false << "αρχή";
        const QString odd =
            QStringLiteral("Ο'Μπράιαν \"Μπο\"\tκαρτέλα\n\nΔεύτερη 😀 naïve\u00a0Ωμέγα"
                           "\n  εσοχή  \n");
        QTest::newRow("quotes, tabs, emoji, mixed scripts") << odd << true << odd;
        const QString big = QString(QStringLiteral("Γραμμή ιστορικού 123\n")).repeated(50000);
        QTest::newRow("1 MB") << big << true << big;
        QTest::newRow("customer deleted") << "κείμενο" << true << QString();
    }
    void historyIsSavedOnlyByPost() {
        QFETCH(QString, pasted);
        QFETCH(bool, post);
        QFETCH(QString, stored);
        Visits v;
        const bool deleted = stored.isEmpty();
        v.open(
            "N3",
            [&](QWidget& form) {
                QCOMPARE(labelText(form, "Label21") + labelText(form, "Label22") +
                             labelText(form, "Label23"),
                         "ΆνναΠαππά5/3/1980");
                auto* memo = child<DBMemo>(form, "DBMemo1");
                QCOMPARE(memo->toPlainText(), deleted ? "" : "αρχή");
                memo->setPlainText(pasted);
                if (post)
                    child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
            },
            deleted ? "DELETE FROM STOIXEIA_PELATH WHERE ID=7" : "");
        // Customer 3 has none: a new row would show here.
        QCOMPARE(v.db.scalar("SELECT group_concat(ISTORIKO) FROM STOIXEIA_PELATH"), stored);
        QCOMPARE(Messages::shownTexts(), QStringList());
    }
};

QTEST_MAIN(TestVisits)
#include "tst_visits.moc"
