#include "../ui/UiFixture.h"

#include "customers/Unit16.h"
#include "customers/Unit17.h"
#include "customers/Unit18.h"
#include "customers/Unit19.h"
#include "customers/Unit20.h"
#include "data/Global.h"
#include "ui/DBComboBox.h"
#include "ui/DBText.h"
#include "ui/FieldLimit.h"
#include "ui/LongLived.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <functional>

namespace {

const QString kColumns = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH");

// A fresh data file, the catalogue registered as program entry does, and the screens that
// open modally handed to `onCatalogue` and `onRecord`.
struct Desk : ScreenFixture {
    TForm18 catalogue;
    std::function<void(TForm18&)> onCatalogue;
    std::function<void(TForm19&)> onRecord;
    std::function<void(QDialog&)> onOther;
    int cataloguesShown = 0;

    Desk() {
        Global::NumberingLocked = false;
        LongLived::add(&catalogue);
        Modal::setTestHook([this](QDialog& d) {
            auto* c = qobject_cast<TForm18*>(&d);
            cataloguesShown += c != nullptr;
            if (c && onCatalogue)
                onCatalogue(*c);
            if (auto* r = qobject_cast<TForm19*>(&d); r && onRecord)
                onRecord(*r);
            else if (!c && onOther)
                onOther(d);
            return 0;
        });
    }

    void add(const QString& values) { db.exec("INSERT INTO STOIXEIA_PELATH" + values); }
    // One column of every customer, in stored order.
    QString stored(const QString& column) const {
        return db.scalar("SELECT group_concat(" + column +
                         ", ';') FROM (SELECT * FROM STOIXEIA_PELATH ORDER BY ID)");
    }
    void show(const QString& sql) {
        catalogue.CatalogueSql = sql;
        QVERIFY(showActive(catalogue));
    }
};

void click(const QWidget& screen, DBNavigator::Button b) {
    child<DBNavigator>(screen, "DBNavigator1")->click(b);
}

QLineEdit* edit(const QWidget& screen, const QString& name) {
    return child<QLineEdit>(screen, name);
}

// The catalogue's five controls that a count of zero hides.
QList<bool> commandsShown(const TForm18& c) {
    return {!child<QGroupBox>(c, "GroupBox1")->isHidden(),
            !child<QGroupBox>(c, "GroupBox2")->isHidden(),
            !child<QGroupBox>(c, "GroupBox3")->isHidden(),
            child<QMenu>(c, "N1")->menuAction()->isVisible(),
            !child<DBNavigator>(c, "DBNavigator1")->isHidden()};
}

void addRow(const char* name, const QString& a, const QString& b, const QString& c) {
    QTest::newRow(name) << a << b << c;
}

} // namespace

// Customer registration, search, catalogue and record.
class TestCustomers : public QObject {
    Q_OBJECT

private slots:
    // ---- registration ----

    void registrationAddsOneRowPerPost() {
        Desk desk;
        desk.add("(EPWNYMO) VALUES('Υπάρχων')");
        {
            TForm16 form;
            QVERIFY(showActive(form));
            QCOMPARE(edit(form, "DBEdit1")->text(), QString());  // nobody read in
            QCOMPARE(FieldLimit::of(edit(form, "DBEdit1")), 50); // the column's width
            QCOMPARE(FieldLimit::of(edit(form, "DBEdit7")), 255);
            auto* sex = child<DBComboBox>(form, "DBComboBox1");
            QCOMPARE(sex->itemText(0) + u',' + sex->itemText(1), QStringLiteral("ΑΡΡΕΝ,ΘΗΛΥ"));
            QVERIFY(sex->count() == 2 && !sex->isEditable());
            auto* postButton = child<DBNavigator>(form, "DBNavigator1")->button(DBNavigator::Post);
            for (const QString& surname : {QStringLiteral("Άλφα"), QStringLiteral("Βήτα")}) {
                typeText(edit(form, "DBEdit2"), surname);
                click(form, DBNavigator::Post);
                QVERIFY(!postButton->isEnabled());
                click(form, DBNavigator::Insert);
            }
            typeText(edit(form, "DBEdit2"), QStringLiteral("Γάμα")); // not posted
            child<QPushButton>(form, "Button1")->click();
        }
        QCOMPARE(desk.stored("EPWNYMO"), QStringLiteral("Υπάρχων;Άλφα;Βήτα"));
        QCOMPARE(desk.db.scalar("SELECT count(DISTINCT ID) FROM STOIXEIA_PELATH"), "3");
        QCOMPARE(Messages::shownTexts(), QStringList());
    }

    void registrationStoresWhatWasTyped_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // "-" for NULL, "!" for refused
        addRow("nothing typed", "", "", "-/-/-/-");
        addRow("sex unselected", "DBEdit1", "Ελένη", "Ελένη/-/-/-");
        addRow("birth date", "DBEdit3", "5/3/1990", "-/-/-/1990-03-05");
        addRow("quotes and wildcards", "DBEdit2", "O'Brien \"Μπο\" 50%_\\",
               "-/O'Brien \"Μπο\" 50%_\\/-/-");
        addRow("31/02/1990", "DBEdit3", "31/02/1990", "!");
        addRow("abc", "DBEdit3", "abc", "!");
        addRow("1/1/99999", "DBEdit3", "1/1/99999", "!");
    }
    void registrationStoresWhatWasTyped() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Desk desk;
        TForm16 form;
        QVERIFY(showActive(form));
        if (!edit.isEmpty())
            typeText(::edit(form, edit), typed);
        click(form, DBNavigator::Post);
        const QString row = desk.stored("ifnull(ONOMA,'-')||'/'||ifnull(EPWNYMO,'-')||'/'||"
                                        "ifnull(FYLO,'-')||'/'||ifnull(HMEROMHNIA_GENNHSEWS,'-')");
        if (stored != u"!") {
            QCOMPARE(row, stored);
            return;
        }
        QCOMPARE(row, QString());
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shownTexts().first().contains(u"ημερομηνία"));
        QCOMPARE(::edit(form, edit)->text(), typed);
        QVERIFY(child<DBNavigator>(form, "DBNavigator1")->button(DBNavigator::Post)->isEnabled());
    }

    // ---- search ----

    // What each search hands the catalogue; a search button kept disabled by a forbidden
    // character or blanks ("-"); dates that cannot be read refused ("!").
    void searchHandsTheStatements_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed"); // first|second
        QTest::addColumn<QString>("filter");
        addRow("surname blanks", "Button1", "   |", "-");
        addRow("surname apostrophe", "Button1", "O'B|", "-");
        addRow("surname percent", "Button1", "Πα%|", "-");
        addRow("date with dots", "Button4", "1.1.1980|", "-");
        addRow("surname", "Button1", " Παπ |", "WHERE EPWNYMO LIKE'Παπ%' ORDER BY EPWNYMO ASC");
        addRow("all", "Button2", "|", "");
        addRow("birth dates", "Button4", "1/2/1980|31/12/1990",
               " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #2/1/1980# AND #12/31/1990# ORDER BY "
               "EPWNYMO ASC");
        addRow("reversed dates", "Button4", "31/12/1990|1/2/1980",
               " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #12/31/1990# AND #2/1/1980# ORDER BY "
               "EPWNYMO ASC");
        addRow("both dates empty", "Button4", "|", "!");
        addRow("31/02/1990", "Button4", "31/02/1990|1/1/2000", "!");
        addRow("letters last", "Button4", "1/1/1990|abc", "!");
    }
    void searchHandsTheStatements() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        Desk desk;
        TForm17 form;
        QVERIFY(!child<QPushButton>(form, "Button1")->isEnabled());
        QVERIFY(child<QPushButton>(form, "Button4")->isEnabled());
        const QStringList texts = typed.split(u'|');
        edit(form, button == u"Button1" ? "Edit1" : "Edit2")->setText(texts[0]);
        edit(form, "Edit3")->setText(texts[1]);
        child<QPushButton>(form, button)->click();
        if (filter == u"-") {
            QVERIFY(!child<QPushButton>(form, button)->isEnabled());
            QCOMPARE(desk.cataloguesShown, 0);
            return;
        }
        if (filter == u"!") {
            QCOMPARE(Messages::shownTexts(), QStringList{"Λανθασμένα κριτήρια."});
            QCOMPARE(desk.cataloguesShown, 0);
            QVERIFY(!child<QPushButton>(form, "Button4")->isEnabled());
            edit(form, "Edit3")->setText(texts[1] + "/"); // any change checks again
            QVERIFY(child<QPushButton>(form, "Button4")->isEnabled());
            return;
        }
        QCOMPARE(desk.cataloguesShown, 1);
        QCOMPARE(desk.catalogue.CatalogueFilter, filter);
        const QString tail = filter.isEmpty()          ? " ORDER BY EPWNYMO ASC"
                             : filter.startsWith(u' ') ? filter
                                                       : u' ' + filter;
        QCOMPARE(desk.catalogue.CatalogueSql, kColumns + tail);
    }

    // ---- catalogue ----

    void countShowsOrHidesTheCommands_data() {
        QTest::addColumn<int>("customers");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 3;
    }
    void countShowsOrHidesTheCommands() {
        QFETCH(int, customers);
        Desk desk;
        for (int i = 0; i < customers; ++i)
            desk.add("(EPWNYMO) VALUES('Π" + QString::number(i) + "')");
        desk.show(kColumns + " ORDER BY EPWNYMO ASC");
        auto* count = child<QLabel>(desk.catalogue, "Label1");
        QCOMPARE(count->text(), QStringLiteral("Βρέθηκαν %1 πελάτες").arg(customers));
        QCOMPARE(commandsShown(desk.catalogue), QList<bool>(5, customers > 0));
        // Receipts wait for numbering to be defined.
        QVERIFY(!child<QPushButton>(desk.catalogue, "Button6")->isEnabled());
        QVERIFY(!child<QAction>(desk.catalogue, "KLLLL1")->isEnabled());
        if (customers != 1)
            return;
        // Deleting the last row hides them at once; answering Cancel keeps it.
        Messages::setNextAnswers({false, true});
        click(desk.catalogue, DBNavigator::Delete);
        click(desk.catalogue, DBNavigator::Delete);
        QCOMPARE(desk.db.scalar("SELECT count(*) FROM STOIXEIA_PELATH"), "0");
        QCOMPARE(count->text(), "Βρέθηκαν 0 πελάτες");
        QCOMPARE(commandsShown(desk.catalogue), QList<bool>(5, false));
    }

    void sortsCombineFieldAndDirection_data() {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("order"); // the column's cells, top to bottom
        const auto row = [](const char* name, const char* clicks, int column, const char* order) {
            QTest::newRow(name) << QString(clicks) << column << QString(order);
        };
        row("surname ascending, Greek order", "", 1, "άλφα,Άρης,Βήτα,Ωμέγα");
        row("surname descending", "RadioButton9", 1, "Ωμέγα,Βήτα,Άρης,άλφα");
        row("birth date descending: youngest first", "RadioButton3 RadioButton9", 1,
            "Άρης,Ωμέγα,άλφα,Βήτα");
        row("sex keeps descending", "RadioButton3 RadioButton9 RadioButton10", 2,
            "ΘΗΛΥ,ΘΗΛΥ,ΑΡΡΕΝ,ΑΡΡΕΝ");
        row("profession ascending", "RadioButton5", 1, "Ωμέγα,Άρης,Βήτα,άλφα");
        row("fund ascending, blank first", "RadioButton6", 1, "άλφα,Βήτα,Άρης,Ωμέγα");
    }
    void sortsCombineFieldAndDirection() {
        QFETCH(QString, clicks);
        QFETCH(int, column);
        QFETCH(QString, order);
        Desk desk;
        desk.add("(EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,EPAGGELMA,TAMEIO) VALUES"
                 "('Βήτα','ΘΗΛΥ','1950-01-01','Γιατρός','Α'),"
                 "('Ωμέγα','ΘΗΛΥ','1990-05-05','Αρχιτέκτων','Γ'),"
                 "('άλφα','ΑΡΡΕΝ','1970-01-01','Ψάλτης',NULL),"
                 "('Άρης','ΑΡΡΕΝ','2001-12-31','Βοηθός','Β')");
        desk.show(kColumns + " ORDER BY ID");
        for (const QString& radio : clicks.split(u' ', Qt::SkipEmptyParts))
            child<QRadioButton>(desk.catalogue, radio)->click();
        QCOMPARE(gridColumn(desk.catalogue, "DBGrid1", column).join(u','), order);
        // Every showing starts again by surname, ascending.
        desk.catalogue.close();
        QVERIFY(!child<Connection>(desk.catalogue, "ADOConnection1")->isConnected());
        desk.show(kColumns + " ORDER BY EPWNYMO DESC");
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton2")->isChecked());
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton8")->isChecked());
        QCOMPARE(gridColumn(desk.catalogue, "DBGrid1", 1).join(u','), "άλφα,Άρης,Βήτα,Ωμέγα");
    }

    void recordCorrectionsShowInTheCatalogue() {
        Desk desk;
        desk.add("(ONOMA,EPWNYMO) VALUES('Άννα','Γ'),('Ελένη','Α'),('Μαρία','Β')");
        desk.show(kColumns + " ORDER BY EPWNYMO ASC");
        child<QRadioButton>(desk.catalogue, "RadioButton9")->click();
        click(desk.catalogue, DBNavigator::First);
        click(desk.catalogue, DBNavigator::Next);
        QString shownName;
        desk.onRecord = [&](TForm19& r) {
            shownName = edit(r, "DBEdit1")->text();
            edit(r, "DBEdit2")->selectAll();
            typeText(edit(r, "DBEdit2"), QStringLiteral("Ω"));
            click(r, DBNavigator::Post);
            r.close();
        };
        child<QPushButton>(desk.catalogue, "Button2")->click();
        QCOMPARE(shownName, QStringLiteral("Μαρία"));
        QCOMPARE(gridColumn(desk.catalogue, "DBGrid1", 1), (QStringList{"Α", "Γ", "Ω"}));
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton9")->isChecked());
    }

    // The customer chosen stays chosen, and in view, when the list is read again after her
    // record closes or is sorted anew: the next command opens her, not the first row. Only
    // when she is gone does the first row take her place.
    void chosenCustomerStaysCurrent_data() {
        QTest::addColumn<QString>("chosen");  // her surname in the list
        QTest::addColumn<QString>("action");  // done in her record, or "sort" instead
        QTest::addColumn<QString>("current"); // the surname current afterwards
        addRow("kept after a correction", "Ζαχαρίου", "correct", "Ζαχαρίου");
        addRow("kept when the record closes unchanged", "Ζαχαρίου", "nothing", "Ζαχαρίου");
        addRow("kept when the correction moves her down", "Ζαχαρίου", "move", "Ωραιοπούλου");
        addRow("first row when she was deleted meanwhile", "Ζαχαρίου", "delete", "Αβραμίδου");
        addRow("last of many, in view again", "Κ59", "nothing", "Κ59");
        addRow("kept by a re-sort, scrolled to", "Κ05", "sort", "Κ05");
    }
    void chosenCustomerStaysCurrent() {
        QFETCH(QString, chosen);
        QFETCH(QString, action);
        QFETCH(QString, current);
        Desk desk;
        desk.add("(ONOMA,EPWNYMO) VALUES('Άννα','Αβραμίδου'),('Ελένη','Ζαχαρίου')");
        for (int i = 0; i < 60; ++i)
            desk.add(
                QStringLiteral("(ONOMA,EPWNYMO) VALUES('Φ','Κ%1')").arg(i, 2, 10, QChar(u'0')));
        desk.show(kColumns + " ORDER BY EPWNYMO ASC");
        auto* grid = child<DBGrid>(desk.catalogue, "DBGrid1");
        const auto idOf = [&](const QString& surname) {
            return desk.db.scalar("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='" + surname + "'");
        };
        const QString id = idOf(chosen);
        const QString firstId = idOf(QStringLiteral("Αβραμίδου"));
        grid->setCurrentIndex(
            grid->model()->index(gridColumn(desk.catalogue, "DBGrid1", 1).indexOf(chosen), 1));
        QCOMPARE(child<DBText>(desk.catalogue, "DBText1")->text(), id);

        desk.onRecord = [&](TForm19& r) {
            if (action == u"correct" || action == u"move") {
                QLineEdit* field = edit(r, action == u"move" ? "DBEdit2" : "DBEdit1");
                field->selectAll();
                typeText(field, action == u"move" ? QStringLiteral("Ωραιοπούλου")
                                                  : QStringLiteral("Ελένη-Μαρία"));
                click(r, DBNavigator::Post);
            } else if (action == u"delete") {
                desk.db.exec("DELETE FROM STOIXEIA_PELATH WHERE ID=" + id);
            }
            r.close();
        };
        if (action == u"sort")
            child<QRadioButton>(desk.catalogue, "RadioButton9")->click();
        else
            child<QPushButton>(desk.catalogue, "Button2")->click();

        const QModelIndex at = grid->currentIndex();
        QCOMPARE(gridColumn(desk.catalogue, "DBGrid1", 1).value(at.row()), current);
        QCOMPARE(child<DBText>(desk.catalogue, "DBText3")->text(), current);
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(at)));
        QCOMPARE(child<QLabel>(desk.catalogue, "Label1")->text(),
                 TForm18::countText(action == u"delete" ? 61 : 62));
        QString handed;
        desk.onOther = [&](QDialog& d) {
            if (auto* history = qobject_cast<TForm20*>(&d))
                handed = history->CustomerId;
        };
        child<QPushButton>(desk.catalogue, "Button3")->click();
        QCOMPARE(handed, action == u"delete" ? firstId : id);
    }

    // ---- record ----

    void recordSavesEveryPost_data() {
        QTest::addColumn<QString>("typed"); // surname letters typed, each followed by Post
        QTest::addColumn<bool>("posted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("untouched") << "" << true << "Άννα/Α";
        QTest::newRow("two posts in a row") << "ΒΓ" << true << "Άννα/ΑΒΓ";
        QTest::newRow("change left unposted") << "Β" << false << "Άννα/Α";
    }
    void recordSavesEveryPost() {
        QFETCH(QString, typed);
        QFETCH(bool, posted);
        QFETCH(QString, stored);
        Desk desk;
        desk.add("(ONOMA,EPWNYMO) VALUES('Άλλη','Χ'),('Άννα','Α')");
        {
            TForm19 record;
            record.CustomerId = QStringLiteral("2");
            QVERIFY(showActive(record));
            auto* post = child<DBNavigator>(record, "DBNavigator1")->button(DBNavigator::Post);
            QVERIFY(post->isEnabled());
            for (const QChar letter : typed) {
                edit(record, "DBEdit2")->end(false);
                typeText(edit(record, "DBEdit2"), QString(letter));
                if (posted)
                    post->click();
            }
            child<QPushButton>(record, "Button1")->click();
        }
        QCOMPARE(desk.db.scalar("SELECT ONOMA||'/'||EPWNYMO FROM STOIXEIA_PELATH WHERE ID=2"),
                 stored);
        QCOMPARE(desk.db.scalar("SELECT count(*) FROM STOIXEIA_PELATH"), "2");
        QCOMPARE(Messages::shownTexts(), QStringList());
    }
};

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
