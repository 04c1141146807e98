#include "../ui/UiFixture.h"

#include "appointments/Unit11.h"
#include "appointments/Unit12.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

namespace {

const QString kSeeded = QStringLiteral("2008-01-01=πρώτη;2008-12-31=δεύτερη;2007-06-15=τρίτη");

// A fresh data file with three reminders, stored out of date order.
struct Reminders {
    TestDatabase db;
    Reminders() {
        db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2008-01-01','πρώτη'),"
                               "('2008-12-31','δεύτερη'),('2007-06-15','τρίτη')"));
    }
    // The rows as the file holds them, in stored order.
    QString stored() const {
        return db.scalar(QStringLiteral(
            "SELECT group_concat(ifnull(HMEROMHNIA,'-') || '=' || ifnull(PERIGRAFH,'-'), ';') "
            "FROM (SELECT * FROM YPENTHIMISEIS ORDER BY rowid)"));
    }
};

} // namespace

// The reminders book and the window of today's reminder.
class TestReminders : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }
    void cleanup() { ScreenFixture::end(); }

    void bookListsTheLatestDateFirstAtEveryShowing() {
        Reminders data;
        TForm11 book;
        QVERIFY(showActive(book));
        QCOMPARE(gridColumn(book), (QStringList{"31/12/2008", "1/1/2008", "15/6/2007"}));
        QCOMPARE(child<DBEdit>(book, "DBEdit1")->text(), QStringLiteral("31/12/2008"));
        QCOMPARE(child<DBMemo>(book, "DBMemo1")->toPlainText(), QStringLiteral("δεύτερη"));
        child<QPushButton>(book, "Button1")->click();
        QVERIFY(!child<Connection>(book, "ADOConnection1")->isConnected());

        data.db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2009-03-01','νέα')"));
        QVERIFY(showActive(book));
        QCOMPARE(gridColumn(book),
                 (QStringList{"1/3/2009", "31/12/2008", "1/1/2008", "15/6/2007"}));
        QCOMPARE(child<DBMemo>(book, "DBMemo1")->toPlainText(), QStringLiteral("νέα"));
    }

    void bookIsLaidOutForTheKeyboard() {
        Reminders data;
        TForm11 book;
        QVERIFY(showActive(book));
        auto* grid = child<DBGrid>(book, "DBGrid1");
        const QAbstractItemModel* m = grid->model();
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Ημερομηνία"));
        QVERIFY(m->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(Qt::Alignment(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(Qt::Alignment(m->index(0, 0).data(Qt::TextAlignmentRole).toInt()) &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(m->columnCount(), 1);

        auto* navigator = child<DBNavigator>(book, "DBNavigator1");
        const DBNavigator::Buttons shown =
            DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last |
            DBNavigator::Insert | DBNavigator::Delete | DBNavigator::Post;
        QCOMPARE(navigator->visibleButtons(), shown);
        for (const DBNavigator::Button b :
             {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last,
              DBNavigator::Insert, DBNavigator::Delete, DBNavigator::Post}) {
            QVERIFY(navigator->button(b)->isVisible());
            QCOMPARE(navigator->button(b)->toolTip(), DBNavigator::hint(b));
        }

        QCOMPARE(child<QLabel>(book, "Label1")->buddy(), child<QWidget>(book, "DBEdit1"));
        QCOMPARE(child<QLabel>(book, "Label2")->buddy(), child<QWidget>(book, "DBMemo1"));
        QCOMPARE(book.minimumSize(), book.maximumSize());

        // Tab runs date, text, the navigator and the exit button, never the list.
        child<DBEdit>(book, "DBEdit1")->setFocus();
        QList<QWidget*> visited{QApplication::focusWidget()};
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QCOMPARE(visited.at(1), child<QWidget>(book, "DBMemo1"));
        QVERIFY(navigator->isAncestorOf(visited.at(2)));
        QVERIFY(visited.contains(child<QPushButton>(book, "Button1")));
        QVERIFY(!visited.contains(grid));
        QVERIFY(Messages::shown().isEmpty());
    }

    // What the person does in the book and what the file holds afterwards. The book shows
    // 31/12/2008 ("δεύτερη") first.
    void workingInTheBook_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message"); // part of the one message expected, or empty
        QTest::addColumn<bool>("staysOpen");
        const QString edited =
            QStringLiteral("2008-01-01=πρώτη;2008-12-31=δεύτερη!;2007-06-15=τρίτη");
        QTest::newRow("insert and post")
            << "insert" << kSeeded + QStringLiteral(";2026-04-05=νέα\nγραμμή") << "" << true;
        QTest::newRow("edit and post") << "edit post" << edited << "" << true;
        QTest::newRow("edit and move on") << "edit next" << edited << "" << true;
        QTest::newRow("edit and pick another row") << "edit click" << edited << "" << true;
        QTest::newRow("Esc drops the edit") << "edit Esc" << kSeeded << "" << false;
        QTest::newRow("exit drops the edit") << "edit exit" << kSeeded << "" << false;
        QTest::newRow("close box drops the edit") << "edit close box" << kSeeded << "" << false;
        QTest::newRow("bad date refused") << "bad date" << kSeeded << "31/2/2008" << true;
        QTest::newRow("delete confirmed")
            << "delete OK" << QStringLiteral("2008-01-01=πρώτη;2007-06-15=τρίτη")
            << "Delete record?" << true;
        QTest::newRow("delete cancelled") << "delete Cancel" << kSeeded << "Delete record?" << true;
    }
    void workingInTheBook() {
        QFETCH(QString, action);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(bool, staysOpen);
        Reminders data;
        TForm11 book;
        QVERIFY(showActive(book));
        auto* date = child<DBEdit>(book, "DBEdit1");
        auto* text = child<DBMemo>(book, "DBMemo1");
        auto* navigator = child<DBNavigator>(book, "DBNavigator1");
        auto* table = child<DataSet>(book, "ADOTable1");

        if (action == u"insert") {
            navigator->click(DBNavigator::Insert);
            date->setFocus();
            typeText(date, QStringLiteral("5/4/2026"));
            text->setFocus();
            typeText(text, QStringLiteral("νέα\nγραμμή"));
            navigator->click(DBNavigator::Post);
        } else if (action.startsWith(u"edit")) {
            text->setFocus();
            QTest::keyClick(text, Qt::Key_End);
            typeText(text, QStringLiteral("!"));
            QCOMPARE(table->state(), DataSet::State::Edit);
            if (action == u"edit post")
                navigator->click(DBNavigator::Post);
            else if (action == u"edit next")
                navigator->click(DBNavigator::Next);
            else if (action == u"edit click") {
                auto* grid = child<DBGrid>(book, "DBGrid1");
                const QRect r = grid->visualRect(grid->model()->index(2, 0));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
            } else if (action == u"edit Esc")
                QTest::keyClick(text, Qt::Key_Escape);
            else if (action == u"edit exit")
                child<QPushButton>(book, "Button1")->click();
            else
                book.windowHandle()->close();
        } else if (action == u"bad date") {
            date->setFocus();
            date->selectAll();
            typeText(date, QStringLiteral("31/2/2008"));
            navigator->click(DBNavigator::Post);
            QCOMPARE(table->state(), DataSet::State::Edit);
            QCOMPARE(date->text(), QStringLiteral("31/2/2008"));
        } else {
            Messages::setNextAnswers({action.endsWith(u"OK")});
            navigator->click(DBNavigator::Delete);
        }

        QCOMPARE(data.stored(), stored);
        QCOMPARE(book.isVisible(), staysOpen);
        QCOMPARE(child<Connection>(book, "ADOConnection1")->isConnected(), staysOpen);
        if (message.isEmpty()) {
            QVERIFY(Messages::shown().isEmpty());
        } else {
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY(Messages::shown().first().text.contains(message));
        }
    }

    // Shown the way the start-up check shows it: the caller writes the statement, showing
    // runs it, and the text can be read but not changed.
    void todaysReminderShowsItsText_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("exit button") << "exit";
        QTest::newRow("close box") << "close box";
    }
    void todaysReminderShowsItsText() {
        QFETCH(QString, how);
        Reminders data;
        data.db.exec(QStringLiteral(
            "UPDATE YPENTHIMISEIS SET PERIGRAFH='Κυρία Ρ.\nβαφή στις 10' WHERE rowid=2"));
        TForm12 today;
        today.ADOQuery1->close();
        today.ADOQuery1->clearSql();
        today.ADOQuery1->addSql(
            QStringLiteral("SELECT * from YPENTHIMISEIS WHERE DAY(HMEROMHNIA)=31 AND "
                           "MONTH(HMEROMHNIA)=12 AND YEAR(HMEROMHNIA)=2008"));
        QString shown;
        bool onTop = false;
        bool readOnly = false;
        Modal::setTestHook([&](QDialog& d) {
            if (!showActive(d))
                return -1;
            onTop = d.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            auto* memo = child<DBMemo>(d, "DBMemo1");
            readOnly = memo->isReadOnly();
            memo->setFocus();
            typeText(memo, QStringLiteral("x"));
            shown = memo->toPlainText();
            if (how == u"Esc")
                QTest::keyClick(memo, Qt::Key_Escape);
            else if (how == u"exit")
                child<QPushButton>(d, "Button1")->click();
            else
                d.windowHandle()->close();
            return -1;
        });
        Modal::exec(today);
        QVERIFY(onTop);
        QVERIFY(readOnly);
        QCOMPARE(shown, QStringLiteral("Κυρία Ρ.\nβαφή στις 10"));
        QVERIFY(!today.isVisible());
        QVERIFY(!today.ADOConnection1->isConnected());
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(
            data.db.scalar(QStringLiteral("SELECT PERIGRAFH FROM YPENTHIMISEIS WHERE rowid=2")),
            shown);
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
