#include "../ui/UiFixture.h"

#include "customers/Unit16.h"
#include "customers/Unit17.h"
#include "customers/Unit18.h"
#include "customers/Unit19.h"
#include "data/Global.h"
#include "ui/DBComboBox.h"
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
struct Desk {
    TestDatabase db;
    TForm18 catalogue;
    std::function<void(TForm18&)> onCatalogue;
    std::function<void(TForm19&)> onRecord;
    int cataloguesShown = 0;

    Desk() {
        scriptMessages();
        Global::NumberingLocked = false;
        LongLived::add(&catalogue);
        Modal::setTestHook([this](QDialog& d) {
            if (auto* c = qobject_cast<TForm18*>(&d)) {
                ++cataloguesShown;
                if (onCatalogue)
                    onCatalogue(*c);
            } else if (auto* r = qobject_cast<TForm19*>(&d)) {
                if (onRecord)
                    onRecord(*r);
            }
            return 0;
        });
    }
    ~Desk() {
        Modal::setTestHook({});
        LongLived::clear();
    }

    // Customers as "name surname sex birth", in stored order.
    void add(const QString& values) { db.exec("INSERT INTO STOIXEIA_PELATH" + values); }
    QString stored(const QString& columns = QStringLiteral("ONOMA||'/'||EPWNYMO")) const {
        return db.scalar("SELECT group_concat(" + columns +
                         ", ';') FROM (SELECT * FROM STOIXEIA_PELATH ORDER BY ID)");
    }
    void show(const QString& sql) {
        catalogue.CatalogueSql = sql;
        QVERIFY(showActive(catalogue));
    }
};

QStringList column(const QWidget& screen, int c) {
    const QAbstractItemModel* m = child<DBGrid>(screen, "DBGrid1")->model();
    QStringList values;
    for (int row = 0; row < m->rowCount(); ++row)
        values << m->index(row, c).data().toString();
    return values;
}

void post(const QWidget& screen) {
    child<DBNavigator>(screen, "DBNavigator1")->click(DBNavigator::Post);
}

// The catalogue's five controls that a count of zero hides.
QList<bool> commandsShown(const TForm18& c) {
    return {!child<QGroupBox>(c, "GroupBox1")->isHidden(),
            !child<QGroupBox>(c, "GroupBox2")->isHidden(),
            !child<QGroupBox>(c, "GroupBox3")->isHidden(),
            child<QMenu>(c, "N1")->menuAction()->isVisible(),
            !child<DBNavigator>(c, "DBNavigator1")->isHidden()};
}

} // namespace

// Customer registration, search, catalogue and record.
class TestCustomers : public QObject {
    Q_OBJECT

private slots:
    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("16", "", QStringLiteral("Καταχώρηση νέου πελάτη"));
        addCaption("16", "Label9", QStringLiteral("Tαμείο:")); // a Latin T
        addCaption("16", "Label4", QStringLiteral("Ημερομηνία γεννήσεως:"));
        addCaption("16", "Button1", QStringLiteral("Έ&ξοδος"));
        addCaption("19", "", QStringLiteral("Στοιχεία πελάτη"));
        addCaption("19", "Label9", QStringLiteral("Tαμείο:"));
        addCaption("17", "", QStringLiteral("Εύρεση πελάτη"));
        addCaption("17", "Label1", QStringLiteral("Γράψε τα αρχικά του επωνύμου"));
        addCaption("17", "Label3", QStringLiteral("Μέχρι:"));
        addCaption("17", "Button4", QStringLiteral("Εύ&ρεση"));
        addCaption("17", "Button2", QStringLiteral("Όλοι οι πελάτες"));
        addCaption("18", "", QStringLiteral("Βασικά στοιχεία των πελατών"));
        addCaption("18", "Button2", QStringLiteral("Στοιχεί&α πελάτη"));
        addCaption("18", "Button6", QStringLiteral("Έκδοση απόδει&ξης"));
        addCaption("18", "Button5", QStringLiteral("Ε&κτυπώσεις"));
        addCaption("18", "RadioButton3", QStringLiteral("Ημερομηνία γεννήσεως"));
        addCaption("18", "RadioButton9", QStringLiteral("Descending"));
        addCaption("18", "N4", QStringLiteral("Επισκέ&ψεις πελάτη"));
        addCaption("18", "KLLLL1", QStringLiteral("Έκδοση απόδειξ&ης"));
    }
    void captionsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, object);
        QFETCH(QString, text);
        Desk desk;
        std::unique_ptr<QWidget> form;
        if (screen == u"16")
            form = std::make_unique<TForm16>();
        else if (screen == u"19")
            form = std::make_unique<TForm19>();
        else if (screen == u"17")
            form = std::make_unique<TForm17>();
        if (screen == u"18")
            QCOMPARE(captionOf(desk.catalogue, object), text);
        else
            QCOMPARE(captionOf(*form, object), text);
    }

    // ---- registration ----

    void registrationAddsOneRowPerPost() {
        Desk desk;
        desk.add("(EPWNYMO) VALUES('Υπάρχων')");
        {
            TForm16 form;
            QVERIFY(showActive(form));
            QCOMPARE(child<QLineEdit>(form, "DBEdit1")->text(), QString()); // nobody read in
            auto* sex = child<DBComboBox>(form, "DBComboBox1");
            QCOMPARE(sex->count(), 2);
            QCOMPARE(sex->itemText(0) + u',' + sex->itemText(1), QStringLiteral("ΑΡΡΕΝ,ΘΗΛΥ"));
            QVERIFY(!sex->isEditable());
            auto* postButton = child<DBNavigator>(form, "DBNavigator1")->button(DBNavigator::Post);
            for (const QString& surname : {QStringLiteral("Άλφα"), QStringLiteral("Βήτα")}) {
                typeText(child<QLineEdit>(form, "DBEdit2"), surname);
                post(form);
                QVERIFY(!postButton->isEnabled());
                child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Insert);
            }
            typeText(child<QLineEdit>(form, "DBEdit2"), QStringLiteral("Γάμα")); // not posted
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
        QTest::newRow("nothing typed") << ""
                                       << ""
                                       << "-/-/-/-";
        QTest::newRow("sex unselected") << "DBEdit1"
                                        << "Ελένη"
                                        << "Ελένη/-/-/-";
        QTest::newRow("birth date") << "DBEdit3"
                                    << "5/3/1990"
                                    << "-/-/-/1990-03-05";
        QTest::newRow("quotes and wildcards") << "DBEdit2"
                                              << "O'Brien \"Μπο\" 50%_\\"
                                              << "-/O'Brien \"Μπο\" 50%_\\/-/-";
        QTest::newRow("31/02/1990") << "DBEdit3"
                                    << "31/02/1990"
                                    << "!";
        QTest::newRow("abc") << "DBEdit3"
                             << "abc"
                             << "!";
        QTest::newRow("1/1/99999") << "DBEdit3"
                                   << "1/1/99999"
                                   << "!";
    }
    void registrationStoresWhatWasTyped() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Desk desk;
        TForm16 form;
        QVERIFY(showActive(form));
        if (!edit.isEmpty())
            typeText(child<QLineEdit>(form, edit), typed);
        post(form);
        const QString row = desk.stored("ifnull(ONOMA,'-')||'/'||ifnull(EPWNYMO,'-')||'/'||"
                                        "ifnull(FYLO,'-')||'/'||ifnull(HMEROMHNIA_GENNHSEWS,'-')");
        if (stored != u"!") {
            QCOMPARE(row, stored);
            return;
        }
        QCOMPARE(row, QString());
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shownTexts().first().contains(u"ημερομηνία"));
        QCOMPARE(child<QLineEdit>(form, edit)->text(), typed);
        QVERIFY(child<DBNavigator>(form, "DBNavigator1")->button(DBNavigator::Post)->isEnabled());
    }

    void editsTakeTheirLimitFromTheColumns() {
        Desk desk;
        TForm16 form;
        const std::pair<const char*, int> widths[] = {
            {"DBEdit1", 50}, {"DBEdit2", 50},  {"DBEdit7", 255}, {"DBEdit8", 30},
            {"DBEdit9", 30}, {"DBEdit4", 100}, {"DBEdit5", 100}};
        for (const auto& [name, width] : widths)
            QCOMPARE(child<QLineEdit>(form, name)->maxLength(), width);
        QCOMPARE(child<QLabel>(form, "Label21")->palette().color(QPalette::WindowText),
                 QColor(Qt::red));
        QCOMPARE(child<QLabel>(form, "Label1")->buddy(), child<QWidget>(form, "DBEdit1"));
    }

    // ---- search ----

    void searchButtonsFollowTheTypedText_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("surname empty") << "Edit1"
                                       << "" << false;
        QTest::newRow("surname blanks") << "Edit1"
                                        << "   " << false;
        QTest::newRow("surname apostrophe") << "Edit1"
                                            << "O'B" << false;
        QTest::newRow("surname percent") << "Edit1"
                                         << "Πα%" << false;
        QTest::newRow("surname letters") << "Edit1"
                                         << " παπ " << true;
        QTest::newRow("date with dots") << "Edit2"
                                        << "1.1.1980" << false;
        QTest::newRow("date with dashes") << "Edit3"
                                          << "1-1-1980" << false;
        QTest::newRow("date with slashes") << "Edit2"
                                           << "1/1/1980" << true;
        QTest::newRow("date letters") << "Edit3"
                                      << "abc" << true;
    }
    void searchButtonsFollowTheTypedText() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        Desk desk;
        TForm17 form;
        QVERIFY(!child<QPushButton>(form, "Button1")->isEnabled());
        QVERIFY(child<QPushButton>(form, "Button4")->isEnabled());
        child<QLineEdit>(form, edit)->setText(typed);
        const char* button = edit == u"Edit1" ? "Button1" : "Button4";
        QCOMPARE(child<QPushButton>(form, button)->isEnabled(), enabled);
    }

    void searchHandsTheStatements_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("filter");
        QTest::newRow("surname") << "Button1"
                                 << " Παπ "
                                 << ""
                                 << "WHERE EPWNYMO LIKE'Παπ%' ORDER BY EPWNYMO ASC";
        QTest::newRow("all") << "Button2"
                             << ""
                             << ""
                             << "";
        QTest::newRow("birth dates")
            << "Button4"
            << "1/2/1980"
            << "31/12/1990"
            << " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #2/1/1980# AND #12/31/1990# ORDER BY "
               "EPWNYMO ASC";
        QTest::newRow("reversed dates")
            << "Button4"
            << "31/12/1990"
            << "1/2/1980"
            << " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #12/31/1990# AND #2/1/1980# ORDER BY "
               "EPWNYMO ASC";
    }
    void searchHandsTheStatements() {
        QFETCH(QString, button);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, filter);
        Desk desk;
        TForm17 form;
        child<QLineEdit>(form, button == u"Button1" ? "Edit1" : "Edit2")->setText(first);
        child<QLineEdit>(form, "Edit3")->setText(second);
        child<QPushButton>(form, button)->click();
        QCOMPARE(desk.cataloguesShown, 1);
        QCOMPARE(desk.catalogue.CatalogueFilter, filter);
        const QString sql = kColumns + (filter.isEmpty()          ? " ORDER BY EPWNYMO ASC"
                                        : filter.startsWith(u' ') ? filter
                                                                  : u' ' + filter);
        QCOMPARE(desk.catalogue.CatalogueSql, sql);
    }

    void unreadableDatesAreRefused_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("both empty") << ""
                                    << "";
        QTest::newRow("31/02/1990") << "31/02/1990"
                                    << "1/1/2000";
        QTest::newRow("letters last") << "1/1/1990"
                                      << "abc";
    }
    void unreadableDatesAreRefused() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        Desk desk;
        TForm17 form;
        child<QLineEdit>(form, "Edit2")->setText(first);
        child<QLineEdit>(form, "Edit3")->setText(second);
        child<QPushButton>(form, "Button4")->click();
        QCOMPARE(Messages::shownTexts(), QStringList{"Λανθασμένα κριτήρια."});
        QCOMPARE(desk.cataloguesShown, 0);
        QVERIFY(!child<QPushButton>(form, "Button4")->isEnabled());
        child<QLineEdit>(form, "Edit3")->setText(second + "/"); // any change checks again
        QVERIFY(child<QPushButton>(form, "Button4")->isEnabled());
    }

    void surnameSearchIgnoresCaseAndAccents_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("παπ") << "παπ" << QStringList{"Παπαδόπουλος", "ΠΑΠΑΣ"};
        QTest::newRow("κωνσταντιν")
            << "κωνσταντιν" << QStringList{"ΚΩΝΣΤΑΝΤΙΝΙΔΗΣ", "Κωνσταντινίδου"};
        QTest::newRow("nobody") << "Ξ" << QStringList{};
    }
    void surnameSearchIgnoresCaseAndAccents() {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        Desk desk;
        desk.add("(EPWNYMO) VALUES('ΠΑΠΑΣ'),('Κωνσταντινίδου'),('Παπαδόπουλος'),"
                 "('ΚΩΝΣΤΑΝΤΙΝΙΔΗΣ'),('Αππα')");
        QStringList listed;
        desk.onCatalogue = [&](TForm18& c) { listed = column(c, 1); };
        TForm17 form;
        child<QLineEdit>(form, "Edit1")->setText(typed);
        child<QPushButton>(form, "Button1")->click();
        QCOMPARE(listed, found);
    }

    // ---- catalogue ----

    void countShowsOrHidesTheCommands_data() {
        QTest::addColumn<int>("customers");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "Βρέθηκαν 0 πελάτες";
        QTest::newRow("one") << 1 << "Βρέθηκαν 1 πελάτες";
        QTest::newRow("many") << 3 << "Βρέθηκαν 3 πελάτες";
    }
    void countShowsOrHidesTheCommands() {
        QFETCH(int, customers);
        QFETCH(QString, text);
        Desk desk;
        for (int i = 0; i < customers; ++i)
            desk.add("(EPWNYMO) VALUES('Π" + QString::number(i) + "')");
        desk.show(kColumns + " ORDER BY EPWNYMO ASC");
        QCOMPARE(child<QLabel>(desk.catalogue, "Label1")->text(), text);
        QCOMPARE(commandsShown(desk.catalogue), QList<bool>(5, customers > 0));
        if (customers != 1)
            return;
        // Deleting the last row hides them at once; answering Cancel keeps it.
        Messages::setNextAnswers({false, true});
        for (int i = 0; i < 2; ++i)
            child<DBNavigator>(desk.catalogue, "DBNavigator1")->click(DBNavigator::Delete);
        QCOMPARE(desk.db.scalar("SELECT count(*) FROM STOIXEIA_PELATH"), "0");
        QCOMPARE(child<QLabel>(desk.catalogue, "Label1")->text(), "Βρέθηκαν 0 πελάτες");
        QCOMPARE(commandsShown(desk.catalogue), QList<bool>(5, false));
    }

    void sortsCombineFieldAndDirection_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("order"); // the column's cells, top to bottom
        QTest::newRow("surname ascending, Greek order")
            << QStringList{} << 1 << "άλφα,Άρης,Βήτα,Ωμέγα";
        QTest::newRow("surname descending")
            << QStringList{"RadioButton9"} << 1 << "Ωμέγα,Βήτα,Άρης,άλφα";
        QTest::newRow("birth date descending: youngest first")
            << QStringList{"RadioButton3", "RadioButton9"} << 1 << "Άρης,Ωμέγα,άλφα,Βήτα";
        QTest::newRow("sex keeps descending")
            << QStringList{"RadioButton3", "RadioButton9", "RadioButton10"} << 2
            << "ΘΗΛΥ,ΘΗΛΥ,ΑΡΡΕΝ,ΑΡΡΕΝ";
        QTest::newRow("profession ascending")
            << QStringList{"RadioButton5"} << 1 << "Ωμέγα,Άρης,Βήτα,άλφα";
        QTest::newRow("fund ascending, blank first")
            << QStringList{"RadioButton6"} << 1 << "άλφα,Βήτα,Άρης,Ωμέγα";
    }
    void sortsCombineFieldAndDirection() {
        QFETCH(QStringList, clicks);
        QFETCH(int, column);
        QFETCH(QString, order);
        Desk desk;
        desk.add("(EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,EPAGGELMA,TAMEIO) VALUES"
                 "('Βήτα','ΘΗΛΥ','1950-01-01','Γιατρός','Α'),"
                 "('Ωμέγα','ΘΗΛΥ','1990-05-05','Αρχιτέκτων','Γ'),"
                 "('άλφα','ΑΡΡΕΝ','1970-01-01','Ψάλτης',NULL),"
                 "('Άρης','ΑΡΡΕΝ','2001-12-31','Βοηθός','Β')");
        desk.show(kColumns + " ORDER BY ID");
        for (const QString& radio : clicks)
            child<QRadioButton>(desk.catalogue, radio)->click();
        QCOMPARE(::column(desk.catalogue, column).join(u','), order);
    }

    void everyShowingStartsBySurnameAscending() {
        Desk desk;
        desk.add("(EPWNYMO,HMEROMHNIA_GENNHSEWS) VALUES('Β','2000-01-01'),('Α','1950-01-01')");
        desk.show(kColumns);
        child<QRadioButton>(desk.catalogue, "RadioButton3")->click();
        child<QRadioButton>(desk.catalogue, "RadioButton9")->click();
        QCOMPARE(column(desk.catalogue, 1), (QStringList{"Β", "Α"}));
        desk.catalogue.close();
        QVERIFY(!child<Connection>(desk.catalogue, "ADOConnection1")->isConnected());
        desk.show(kColumns + " ORDER BY EPWNYMO DESC");
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton2")->isChecked());
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton8")->isChecked());
        QCOMPARE(column(desk.catalogue, 1), (QStringList{"Α", "Β"}));
    }

    void recordCorrectionsShowInTheCatalogue() {
        Desk desk;
        desk.add("(ONOMA,EPWNYMO) VALUES('Άννα','Γ'),('Ελένη','Α'),('Μαρία','Β')");
        desk.show(kColumns + " ORDER BY EPWNYMO ASC");
        child<QRadioButton>(desk.catalogue, "RadioButton9")->click();
        child<DBNavigator>(desk.catalogue, "DBNavigator1")->click(DBNavigator::Next);
        QString shownName;
        desk.onRecord = [&](TForm19& r) {
            shownName = child<QLineEdit>(r, "DBEdit1")->text();
            auto* surname = child<QLineEdit>(r, "DBEdit2");
            surname->selectAll();
            typeText(surname, QStringLiteral("Ω"));
            post(r);
            r.close();
        };
        child<QPushButton>(desk.catalogue, "Button2")->click();
        QCOMPARE(shownName, QStringLiteral("Μαρία"));
        QCOMPARE(column(desk.catalogue, 1), (QStringList{"Α", "Γ", "Ω"}));
        QVERIFY(child<QRadioButton>(desk.catalogue, "RadioButton9")->isChecked());
    }

    void receiptCommandsWaitForNumbering() {
        Desk desk;
        desk.add("(EPWNYMO) VALUES('Α')");
        desk.show(kColumns);
        QVERIFY(!child<QPushButton>(desk.catalogue, "Button6")->isEnabled());
        QVERIFY(!child<QAction>(desk.catalogue, "KLLLL1")->isEnabled());
        QVERIFY(child<QAction>(desk.catalogue, "N2")->isEnabled());
    }

    // ---- record ----

    void recordSavesEveryPost_data() {
        QTest::addColumn<QStringList>("typed"); // surname typed before each Post
        QTest::addColumn<bool>("leftUnposted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("untouched") << QStringList{} << false << "Άννα/Α";
        QTest::newRow("two posts in a row") << QStringList{"Β", "Γ"} << false << "Άννα/ΑΒΓ";
        QTest::newRow("change left unposted") << QStringList{"Β"} << true << "Άννα/Α";
    }
    void recordSavesEveryPost() {
        QFETCH(QStringList, typed);
        QFETCH(bool, leftUnposted);
        QFETCH(QString, stored);
        Desk desk;
        desk.add("(ONOMA,EPWNYMO) VALUES('Άλλη','Χ'),('Άννα','Α')");
        {
            TForm19 record;
            record.CustomerId = QStringLiteral("2");
            QVERIFY(showActive(record));
            QVERIFY(
                child<DBNavigator>(record, "DBNavigator1")->button(DBNavigator::Post)->isEnabled());
            auto* surname = child<QLineEdit>(record, "DBEdit2");
            for (const QString& t : typed) {
                surname->end(false);
                typeText(surname, t);
                if (!leftUnposted)
                    post(record);
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
