#include "../ui/UiFixture.h"

#include "customers/UNIT17A.h"
#include "customers/Unit18.h"
#include "customers/Unit20.h"
#include "ui/LongLived.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

// A fresh file with the customer 7 "Άννα Παππά" (and 3, someone else); screens opened
// modally return at once.
struct Visits {
    TestDatabase db;

    Visits() {
        scriptMessages();
        db.exec("INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS,ISTORIKO) "
                "VALUES(3,'Άλλη','Πελάτισσα',NULL,NULL),(7,'Άννα','Παππά','1980-03-05','αρχή')");
        db.exec("INSERT INTO EPISKEPSEIS VALUES(3,'2024-04-01','ξένη','x')");
        Modal::setTestHook([](QDialog&) { return 0; });
    }
    ~Visits() { Modal::setTestHook({}); }

    // Each visit of the file as ID|date|reason|description, "-" for NULL, in stored order.
    QString stored() const {
        return db.scalar("SELECT group_concat(ifnull(ID,'-')||'|'||ifnull(HMEROMHNIA,'-')||'|'||"
                         "ifnull(AITIA,'-')||'|'||ifnull(PERIGRAFH,'-'), ';') "
                         "FROM (SELECT * FROM EPISKEPSEIS ORDER BY rowid)");
    }
};

QLineEdit* edit(const QWidget& screen, const char* name) {
    return child<QLineEdit>(screen, QString::fromLatin1(name));
}

QString labelText(const QWidget& screen, const char* name) {
    return child<QLabel>(screen, QString::fromLatin1(name))->text();
}

void openFor(TFORM17A& form) {
    form.CustomerId = QStringLiteral("7");
    form.CustomerName = QStringLiteral("Άννα");
    form.CustomerSurname = QStringLiteral("Παππά");
    QVERIFY(showActive(form));
}

// Types "date|reason|description" into the entry fields and presses Post.
void enterVisit(TFORM17A& form, const QString& visit) {
    const QStringList parts = visit.split(u'|');
    const char* edits[] = {"DBEdit1", "DBEdit2", "DBEdit3"};
    for (int i = 0; i < parts.size(); ++i)
        typeText(edit(form, edits[i]), parts[i]);
    QTest::keyClick(edit(form, "DBEdit3"), Qt::Key_Return); // a habit that must not leave
    child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
}

// The customer's visits already in the file, visits typed (separated by ';'), the dates then
// listed, and the rows the file gains ("!" for a refused date).
struct Typing {
    QString earlier, typed, listed, added;
};

} // namespace

// A customer's visits and history.
class TestVisits : public QObject {
    Q_OBJECT

private slots:
    // Visits typed one after another: what the file keeps, the list (dates, oldest first)
    // and its count; an unreadable date keeps its row on screen and writes nothing.
    void visitsAreStampedAndListed_data() {
        QTest::addColumn<Typing>("c");
        const auto row = [](const char* name, const Typing& c) { QTest::newRow(name) << c; };
        row("none", {"", "", "", ""});
        row("one, and the other customer's left out", {"'2024-02-01'", "", "1/2/2024", ""});
        row("two in one opening, in date order",
            {"", "10/5/2024|Βαφή|Χρώμα;1/3/2024|Κούρεμα|", "1/3/2024,10/5/2024",
             "7|2024-05-10|Βαφή|Χρώμα;7|2024-03-01|Κούρεμα|-"});
        row("an earlier visit stands first",
            {"'2024-02-01'", "5/1/2023|Α|Β", "5/1/2023,1/2/2024", "7|2023-01-05|Α|Β"});
        row("empty fields: only the customer", {"", "|", "", "7|-|-|-"});
        row("31/02/2024 refused", {"", "31/02/2024|Α|Β", "", "!"});
        row("words refused", {"'2024-02-01'", "χθες|Α|Β", "1/2/2024", "!"});
    }
    void visitsAreStampedAndListed() {
        QFETCH(Typing, c);
        const auto& [earlier, typed, listed, added] = c;
        Visits v;
        if (!earlier.isEmpty())
            v.db.exec("INSERT INTO EPISKEPSEIS VALUES(7," + earlier + ",'πριν','')");
        const QString before = v.stored();
        TFORM17A form;
        openFor(form);
        QCOMPARE(labelText(form, "Label3") + u' ' + labelText(form, "Label4"), "Άννα Παππά");
        for (const QString& visit : typed.split(u';', Qt::SkipEmptyParts))
            enterVisit(form, visit);
        QVERIFY(form.isVisible()); // Enter in the last field did not leave
        const QStringList dates = gridColumn(form);
        QCOMPARE(dates.join(u','), listed);
        QCOMPARE(labelText(form, "Label10"),
                 QStringLiteral("Βρέθηκαν %1 επισκέψεις").arg(dates.size()));
        if (added == u"!") {
            QCOMPARE(v.stored(), before);
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY(Messages::shownTexts().first().contains(u"ημερομηνία"));
            QCOMPARE(edit(form, "DBEdit1")->text() + edit(form, "DBEdit2")->text(),
                     typed.section(u'|', 0, 0) + "Α");
            return;
        }
        QCOMPARE(v.stored(), before + (added.isEmpty() ? "" : ";" + added));
        QCOMPARE(Messages::shownTexts(), QStringList());
        // Ready for the next visit.
        QCOMPARE(edit(form, "DBEdit1")->text() + edit(form, "DBEdit2")->text(), QString());
    }

    void deleteKeepsTheVisitBeingTyped_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("declined") << false;
    }
    void deleteKeepsTheVisitBeingTyped() {
        QFETCH(bool, confirmed);
        Visits v;
        v.db.exec("INSERT INTO EPISKEPSEIS VALUES(7,'2024-01-01','α',''),(7,'2024-02-01','β','')");
        TFORM17A form;
        openFor(form);
        typeText(edit(form, "DBEdit2"), QStringLiteral("νέα"));
        Messages::setNextAnswers({confirmed});
        child<DBNavigator>(form, "DBNavigator2")->click(DBNavigator::Delete);
        const int left = confirmed ? 1 : 2;
        QCOMPARE(labelText(form, "Label10"), QStringLiteral("Βρέθηκαν %1 επισκέψεις").arg(left));
        QCOMPARE(v.db.scalar("SELECT count(*) FROM EPISKEPSEIS WHERE ID=7").toInt(), left);
        QCOMPARE(edit(form, "DBEdit2")->text(), QStringLiteral("νέα"));
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        QCOMPARE(v.db.scalar("SELECT count(*) FROM EPISKEPSEIS WHERE ID=7 AND AITIA='νέα'"), "1");
    }

    // The history is written only by Post, exactly as typed.
    void historyIsSavedOnlyByPost_data() {
        QTest::addColumn<QString>("typed"); // replaces the whole text
        QTest::addColumn<bool>("post");
        QTest::addColumn<QString>("stored");
        QTest::newRow("left untouched") << QString() << false << "αρχή";
        QTest::newRow("typed, not posted") << "νέο" << false << "αρχή";
        const QString odd =
            QStringLiteral("Ο'Μπράιαν \"Μπο\"\tκαρτέλα\n\nΔεύτερη 😀 naïve\u00a0Ωμέγα"
                           "\n  εσοχή  \n");
        QTest::newRow("quotes, tabs, emoji, mixed scripts") << odd << true << odd;
        const QString big = QString(QStringLiteral("Γραμμή ιστορικού 123\n")).repeated(50000);
        QTest::newRow("1 MB") << big << true << big;
    }
    void historyIsSavedOnlyByPost() {
        QFETCH(QString, typed);
        QFETCH(bool, post);
        QFETCH(QString, stored);
        Visits v;
        {
            TForm20 form;
            form.CustomerId = QStringLiteral("7");
            form.CustomerName = QStringLiteral("Ελένη"); // the handed texts, not the row's
            form.CustomerSurname = QStringLiteral("Κ");
            form.CustomerBirthDate = QStringLiteral("1/1/2000");
            QVERIFY(showActive(form));
            QCOMPARE(labelText(form, "Label21") + labelText(form, "Label22") +
                         labelText(form, "Label23"),
                     "ΕλένηΚ1/1/2000");
            auto* memo = child<DBMemo>(form, "DBMemo1");
            QCOMPARE(memo->toPlainText(), QStringLiteral("αρχή"));
            auto* postButton = child<DBNavigator>(form, "DBNavigator1")->button(DBNavigator::Post);
            QVERIFY(!postButton->isEnabled());
            if (!typed.isEmpty()) {
                memo->setPlainText(typed); // as a paste does
                QVERIFY(postButton->isEnabled());
            }
            if (post)
                postButton->click();
            QCOMPARE(postButton->isEnabled(), !typed.isEmpty() && !post);
            child<QPushButton>(form, "Button1")->click();
        }
        QCOMPARE(v.db.scalar("SELECT ISTORIKO FROM STOIXEIA_PELATH WHERE ID=7"), stored);
        QCOMPARE(Messages::shownTexts(), QStringList());
    }

    void historyOfADeletedCustomerAddsNoCustomer() {
        Visits v;
        TForm20 form;
        form.CustomerId = QStringLiteral("99");
        QVERIFY(showActive(form));
        typeText(child<DBMemo>(form, "DBMemo1"), QStringLiteral("κείμενο"));
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Post);
        QCOMPARE(v.db.scalar("SELECT count(*) FROM STOIXEIA_PELATH"), "2");
    }

    // The catalogue's commands hand over its current row, trimmed.
    void catalogueOpensTheCustomersScreens_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("handed");
        const QString full = QStringLiteral("7|Άννα|Παππά|5/3/1980");
        QTest::newRow("history button") << QString("Button3") << full;
        QTest::newRow("history menu") << QString("N3") << full;
        QTest::newRow("visits button") << QString("Button1") << QString("7|Άννα|Παππά|");
        QTest::newRow("visits menu") << QString("N4") << QString("7|Άννα|Παππά|");
    }
    void catalogueOpensTheCustomersScreens() {
        QFETCH(QString, command);
        QFETCH(QString, handed);
        Visits v;
        v.db.exec("UPDATE STOIXEIA_PELATH SET ONOMA=' Άννα ' WHERE ID=7");
        TForm18 catalogue;
        catalogue.CatalogueSql = QStringLiteral("SELECT * FROM STOIXEIA_PELATH ORDER BY ID DESC");
        QVERIFY(showActive(catalogue));
        QString got;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* h = qobject_cast<TForm20*>(&d))
                got = h->CustomerId + u'|' + h->CustomerName + u'|' + h->CustomerSurname + u'|' +
                      h->CustomerBirthDate;
            if (auto* s = qobject_cast<TFORM17A*>(&d))
                got = s->CustomerId + u'|' + s->CustomerName + u'|' + s->CustomerSurname + u'|';
            return 0;
        });
        if (auto* button = catalogue.findChild<QPushButton*>(command))
            button->click();
        else
            child<QAction>(catalogue, command)->trigger();
        QCOMPARE(got, handed);
    }
};

QTEST_MAIN(TestVisits)
#include "tst_visits.moc"
