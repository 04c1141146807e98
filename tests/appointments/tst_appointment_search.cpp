#include "../ui/UiFixture.h"

#include "appointments/Unit24.h"
#include "appointments/Unit2a.h"
#include "customers/Unit18.h"
#include "ui/LongLived.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <functional>

namespace {

// An appointment book of a few days around 15 March 2026, with Greek written every way:
// capitals, accents, final sigma, an apostrophe, and a "%" and a "_" of its own.
void addBook(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO RANTEBOU(HMEROMHNIA,[1000-1030],[1700-1730]) VALUES('2026-03-15',"
        "'Ελένη Παπαδοπούλου βαφή','ΠΑΠΑΣ Νίκος 6944123456');"
        "INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830],[2130-2200]) VALUES('2026-03-16',"
        "'Ζωή Ντ''Αμίκο','παπάς - κούρεμα');"
        "INSERT INTO RANTEBOU(HMEROMHNIA,[1200-1230],[1230-1300]) VALUES('2025-12-31',"
        "'Μαρία Οικονόμου 50% έκπτωση','Άννα_Β');"
        "INSERT INTO RANTEBOU(HMEROMHNIA,[0900-0930]) VALUES('2027-01-02','Σοφία Παπαδάκη');"
        "INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2026-03-17')"));
}

// Each found row as "date weekday time text".
QStringList found(const TForm24& form) {
    return gridRows(form);
}

// The search over a fresh book; the day pages it opens are handed to `onDay`.
struct Search : ScreenFixture {
    std::unique_ptr<TForm24> form;
    std::function<void(TForm2a&)> onDay;
    QStringList opened; // each day page as "date, slot with the cursor"

    Search() {
        addBook(db);
        Modal::setTestHook([this](QDialog& d) {
            auto* day = qobject_cast<TForm2a*>(&d);
            if (!day)
                qFatal("unexpected window %s", d.metaObject()->className());
            QWidget* focused = day->focusWidget();
            opened << day->Label83->text() + u',' + (focused ? focused->objectName() : QString());
            if (onDay)
                onDay(*day);
            return 0;
        });
        form = std::make_unique<TForm24>();
    }
    ~Search() { form.reset(); }
    void find(const QString& text) {
        auto* edit = child<QLineEdit>(*form, "Edit1");
        edit->clear();
        typeText(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(*form, name); }
};

} // namespace

// Finding a text in every slot of the appointment book, and the day it leads to.
class TestAppointmentSearch : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ScreenFixture::end(); }

    void matchesAndOrder_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QString papadaki = "2/1/2027 Σάββατο 09:00 - 09:30 Σοφία Παπαδάκη";
        const QString papas16 = "16/3/2026 Δευτέρα 21:30 - 22:00 παπάς - κούρεμα";
        const QString papas15 = "15/3/2026 Κυριακή 17:00 - 17:30 ΠΑΠΑΣ Νίκος 6944123456";
        const QString eleni = "15/3/2026 Κυριακή 10:00 - 10:30 Ελένη Παπαδοπούλου βαφή";
        QTest::newRow("first letters, newest day and latest slot first")
            << "παπ" << QStringList{papadaki, papas16, papas15, eleni};
        QTest::newRow("capitals, final sigma") << "ΠΑΠΑΣ" << QStringList{papas16, papas15};
        QTest::newRow("without accents") << "παπαδοπουλου" << QStringList{eleni};
        QTest::newRow("accent where none is written") << "Πάπας" << QStringList{papas16, papas15};
        QTest::newRow("inside a word") << "δοπούλ" << QStringList{eleni};
        QTest::newRow("a phone") << "6944123456" << QStringList{papas15};
        QTest::newRow("part of a phone") << "123456" << QStringList{papas15};
        QTest::newRow("apostrophe")
            << "Ντ'Αμίκο" << QStringList{"16/3/2026 Δευτέρα 08:00 - 08:30 Ζωή Ντ'Αμίκο"};
        QTest::newRow("a percent sign is itself")
            << "%" << QStringList{"31/12/2025 Τετάρτη 12:00 - 12:30 Μαρία Οικονόμου 50% έκπτωση"};
        QTest::newRow("an underscore is itself")
            << "_" << QStringList{"31/12/2025 Τετάρτη 12:30 - 13:00 Άννα_Β"};
        QTest::newRow("blanks around are dropped") << "  κουρεμα " << QStringList{papas16};
        QTest::newRow("nothing found") << "Ξανθοπούλου" << QStringList{};
        QTest::newRow("a statement's words") << "'; DELETE FROM RANTEBOU; --" << QStringList{};
    }
    void matchesAndOrder() {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        Search s;
        QVERIFY(showActive(*s.form));
        s.find(text);
        QCOMPARE(found(*s.form), rows);
        QCOMPARE(child<QLabel>(*s.form, "Label2")->text(), TForm24::countText(int(rows.size())));
        QCOMPARE(s.button("Button2")->isEnabled(), !rows.isEmpty());
        QCOMPARE(s.db.scalar("SELECT count(*) FROM RANTEBOU"), QStringLiteral("5"));
        QCOMPARE(Messages::shownTexts(), QStringList());
    }

    void blankTextIsNoSearch() {
        Search s;
        QVERIFY(showActive(*s.form));
        QVERIFY(!s.button("Button1")->isEnabled());
        typeText(child<QLineEdit>(*s.form, "Edit1"), "   ");
        QVERIFY(!s.button("Button1")->isEnabled());
        QTest::keyClick(child<QLineEdit>(*s.form, "Edit1"), Qt::Key_Return);
        QCOMPARE(found(*s.form), QStringList());
        QVERIFY(!s.button("Button2")->isEnabled());
    }

    // A row opens its day with the cursor in its slot, by the button, by Enter or by a
    // double-click; what is posted there shows in the list when the day closes.
    void rowOpensItsDay_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("opened");
        QTest::newRow("button, first row") << 0 << "button"
                                           << "2/1/2027,DBEdit3";
        QTest::newRow("Enter, second row") << 1 << "enter"
                                           << "16/3/2026,DBEdit28";
        QTest::newRow("double-click, last row") << 3 << "double-click"
                                                << "15/3/2026,DBEdit5";
    }
    void rowOpensItsDay() {
        QFETCH(int, row);
        QFETCH(QString, how);
        QFETCH(QString, opened);
        Search s;
        QVERIFY(showActive(*s.form));
        s.find("παπ");
        auto* grid = child<DBGrid>(*s.form, "DBGrid1");
        const QRect cell = grid->visualRect(grid->model()->index(row, 3));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        if (how == u"button") {
            s.button("Button2")->click();
        } else if (how == u"enter") {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);
        } else {
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        }
        QCOMPARE(s.opened, QStringList{opened});
    }

    void postedChangeShowsInTheList() {
        Search s;
        s.onDay = [](TForm2a& day) {
            auto* slot = child<DBEdit>(day, "DBEdit28");
            slot->selectAll();
            typeText(slot, "Ρένα Αλεξίου");
            child<DBNavigator>(day, "DBNavigator1")->button(DBNavigator::Post)->click();
        };
        QVERIFY(showActive(*s.form));
        s.find("παπ");
        child<DBGrid>(*s.form, "DBGrid1")->selectRow(1);
        s.button("Button2")->click();
        QCOMPARE(s.db.scalar("SELECT [2130-2200] FROM RANTEBOU WHERE HMEROMHNIA='2026-03-16'"),
                 QStringLiteral("Ρένα Αλεξίου"));
        QCOMPARE(found(*s.form).size(), 3);
        QVERIFY(!found(*s.form).join(u'|').contains(u"κούρεμα"));
    }

    // The catalogue's "Ραντεβού πελάτη" searches her surname at once.
    void catalogueSearchesHerSurname() {
        Search s;
        s.db.exec("INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO) VALUES(7,'Νίκος','Παπάς')");
        TForm18 catalogue;
        LongLived::add(&catalogue);
        QStringList searched;
        Modal::setTestHook([&](QDialog& d) {
            if (auto* search = qobject_cast<TForm24*>(&d)) {
                searched << child<QLineEdit>(*search, "Edit1")->text();
                searched << found(*search);
            }
            return 0;
        });
        catalogue.CatalogueSql = QStringLiteral("SELECT * FROM STOIXEIA_PELATH");
        QVERIFY(showActive(catalogue));
        auto* item = child<QAction>(catalogue, "N11");
        QCOMPARE(item->text(), QStringLiteral("Ραντεβού πελάτη"));
        item->trigger();
        QCOMPARE(searched, (QStringList{"Παπάς", "16/3/2026 Δευτέρα 21:30 - 22:00 παπάς - κούρεμα",
                                        "15/3/2026 Κυριακή 17:00 - 17:30 ΠΑΠΑΣ Νίκος 6944123456"}));
        catalogue.close();
        LongLived::clear();
    }
};

QTEST_MAIN(TestAppointmentSearch)
#include "tst_appointment_search.moc"
