#include "UiFixture.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QToolButton>

Q_DECLARE_METATYPE(DBNavigator::Buttons)

// The navigator bar: which buttons a person may press, and what each press does.
class TestNavigator : public QObject {
    Q_OBJECT

    static QList<DBNavigator::Button> allButtons() {
        QList<DBNavigator::Button> all;
        const QMetaEnum e = QMetaEnum::fromType<DBNavigator::Button>();
        for (int i = 0; i < e.keyCount(); ++i)
            all << DBNavigator::Button(e.value(i));
        return all;
    }
    static DBNavigator::Buttons enabledButtons(const DBNavigator* nav) {
        DBNavigator::Buttons on;
        for (const auto b : allButtons())
            if (nav->button(b)->isEnabled())
                on |= b;
        return on;
    }

private slots:
    void init() { ScreenFixture::begin(); }

    void buttonsAreEnabledAsTheRowAllows_data() {
        using N = DBNavigator;
        QTest::addColumn<QString>("situation");
        QTest::addColumn<N::Buttons>("enabled");
        const N::Buttons modify = N::Insert | N::Delete | N::Edit | N::Refresh;
        QTest::newRow("closed") << "closed" << N::Buttons();
        QTest::newRow("first row") << "first" << (N::Next | N::Last | modify);
        QTest::newRow("middle row")
            << "middle" << (N::First | N::Prior | N::Next | N::Last | modify);
        QTest::newRow("last row") << "last" << (N::First | N::Prior | modify);
        QTest::newRow("editing") << "edit"
                                 << (N::Next | N::Last | N::Insert | N::Delete | N::Post |
                                     N::Cancel | N::Refresh);
        QTest::newRow("empty") << "empty" << (N::Insert | N::Refresh);
        QTest::newRow("inserting into empty")
            << "insert" << (N::Insert | N::Delete | N::Post | N::Cancel | N::Refresh);
        QTest::newRow("read-only query") << "query" << (N::Next | N::Last | N::Refresh);
    }
    void buttonsAreEnabledAsTheRowAllows() {
        QFETCH(QString, situation);
        QFETCH(DBNavigator::Buttons, enabled);
        ReminderBook book(situation != u"empty" && situation != u"insert");
        Query query;
        if (situation == u"closed")
            book.table.close();
        else if (situation == u"middle")
            book.table.next();
        else if (situation == u"last")
            book.table.last();
        else if (situation == u"edit")
            book.table.edit();
        else if (situation == u"insert")
            book.table.insert();
        else if (situation == u"query") {
            query.setConnection(book.connection.get());
            query.addSql(QStringLiteral("SELECT HMEROMHNIA, count(*) AS N FROM YPENTHIMISEIS "
                                        "GROUP BY HMEROMHNIA"));
            query.open();
            book.source.setDataSet(&query);
        }
        QCOMPARE(enabledButtons(book.navigator), enabled);
    }

    // The buttons show only a glyph; a person hovering, or a screen reader, learns each one
    // by its Greek name.
    void buttonsAreNamedInGreek_data() {
        QTest::addColumn<DBNavigator::Button>("button");
        QTest::addColumn<QString>("name");
        const auto row = [](DBNavigator::Button b, const char* name) {
            QTest::newRow(name) << b << QString::fromUtf8(name);
        };
        row(DBNavigator::First, "Πρώτη εγγραφή");
        row(DBNavigator::Prior, "Προηγούμενη εγγραφή");
        row(DBNavigator::Next, "Επόμενη εγγραφή");
        row(DBNavigator::Last, "Τελευταία εγγραφή");
        row(DBNavigator::Insert, "Νέα εγγραφή");
        row(DBNavigator::Delete, "Διαγραφή εγγραφής");
        row(DBNavigator::Post, "Αποθήκευση");
        row(DBNavigator::Cancel, "Ακύρωση αλλαγών");
        row(DBNavigator::Edit, "Επεξεργασία εγγραφής");
        row(DBNavigator::Refresh, "Ανανέωση δεδομένων");
    }
    void buttonsAreNamedInGreek() {
        QFETCH(DBNavigator::Button, button);
        QFETCH(QString, name);
        ReminderBook book;
        QToolButton* b = book.navigator->button(button);
        QCOMPARE(b->toolTip(), name);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), name);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Cancel keeps the row") << false;
        QTest::newRow("OK removes it") << true;
    }
    void deleteAsksFirst() {
        QFETCH(bool, answer);
        ReminderBook book;
        QSignalSpy clicked(book.navigator, &DBNavigator::clicked);
        book.table.next();
        Messages::setNextAnswers({answer});
        book.navigator->click(DBNavigator::Delete);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Confirm);
        QCOMPARE(Messages::shown().first().text, QStringLiteral("Delete record?"));
        QCOMPARE(book.stored().contains(QStringLiteral("δεύτερη")), !answer);
        QCOMPARE(book.table.recordCount(), answer ? 2 : 3);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().value<DBNavigator::Button>(), DBNavigator::Delete);
    }

    void refreshReadsRowsAddedElsewhereAndKeepsTheSort() {
        ReminderBook book;
        book.table.setSort(QStringLiteral("HMEROMHNIA DESC"));
        book.db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2010-05-05','άλλο')"));
        book.navigator->click(DBNavigator::Refresh);
        QCOMPARE(book.table.recordCount(), 4);
        QCOMPARE(book.grid->model()->index(0, 0).data().toString(), QStringLiteral("5/5/2010"));
    }

    // An action that fails is told in the error box; the bar stays usable and no click is
    // reported for it.
    void aFailedActionIsShownAndTheBarStaysUsable() {
        ReminderBook book;
        QVERIFY(book.showActive());
        QSignalSpy clicked(book.navigator, &DBNavigator::clicked);
        book.date->setFocus();
        book.date->selectAll();
        typeText(book.date, QStringLiteral("πριν"));
        book.navigator->click(DBNavigator::Post);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Error);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(book.navigator->button(DBNavigator::Cancel)->isEnabled());
        book.navigator->click(DBNavigator::Cancel);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(book.date->text(), QStringLiteral("1/1/2008"));
    }
};

QTEST_MAIN(TestNavigator)
#include "tst_ui_navigator.moc"
