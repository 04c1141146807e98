#include "UiFixture.h"

#include "data/Global.h"
#include "ui/DBComboBox.h"
#include "ui/DBText.h"

// One customer with neither sex nor surname, open in a table.
struct Customers {
    TestDatabase db;
    std::unique_ptr<Connection> connection = db.connect();
    Table table;
    DataSource source;
    Customers() {
        db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA) VALUES('Ελένη')"));
        table.setConnection(connection.get());
        table.setTableName(QStringLiteral("STOIXEIA_PELATH"));
        table.open();
        source.setDataSet(&table);
    }
};

// Typing into the data-bound fields, as the reminders book and the customer record do.
class TestDataControls : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scriptMessages();
        Clock::setFixedForTesting(QDate(2026, 3, 15));
    }
    void cleanup() { Clock::reset(); }

    void fieldsFollowTheCurrentRow() {
        ReminderBook book;
        DBText label(&book.window);
        label.setDataSource(&book.source);
        label.setDataField(QStringLiteral("HMEROMHNIA"));
        QCOMPARE(book.date->text(), QStringLiteral("1/1/2008"));
        QCOMPARE(label.text(), book.date->text());
        book.table.next();
        QCOMPARE(book.date->text(), QStringLiteral("31/12/2008"));
        QCOMPARE(book.text->toPlainText(), QStringLiteral("δεύτερη"));
        QCOMPARE(label.text(), book.date->text());
        book.table.close();
        QVERIFY(book.date->text().isEmpty());
        QVERIFY(book.text->toPlainText().isEmpty());
        QVERIFY(label.text().isEmpty());
    }

    void typedTextIsStoredOnPost_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("emptyBook");
        QTest::newRow("full date") << "HMEROMHNIA"
                                   << "28/12/2007"
                                   << "2007-12-28" << false;
        QTest::newRow("two-digit year") << "HMEROMHNIA"
                                        << "5/3/08"
                                        << "2008-03-05" << false;
        QTest::newRow("memo keeps line breaks") << "PERIGRAFH"
                                                << "γραμμή 1\nγραμμή 2"
                                                << "γραμμή 1\nγραμμή 2" << false;
        // Typing into an empty book starts a new reminder.
        QTest::newRow("empty book") << "HMEROMHNIA"
                                    << "1/4/2026"
                                    << "2026-04-01" << true;
    }
    void typedTextIsStoredOnPost() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, emptyBook);
        ReminderBook book(!emptyBook);
        QVERIFY(book.showActive());
        QWidget* control = field == u"HMEROMHNIA" ? static_cast<QWidget*>(book.date)
                                                  : static_cast<QWidget*>(book.text);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
        typeText(control, typed);
        QCOMPARE(book.table.state(), emptyBook ? DataSet::State::Insert : DataSet::State::Edit);
        QCOMPARE(book.table.recordCount(), emptyBook ? 0 : 3);
        book.navigator->click(DBNavigator::Post);
        QCOMPARE(book.table.state(), DataSet::State::Browse);
        QCOMPARE(
            book.db.scalar(QStringLiteral("SELECT %1 FROM YPENTHIMISEIS WHERE rowid=1").arg(field)),
            stored);
        QVERIFY(Messages::shown().isEmpty());
    }

    // A screen reader or another assistive tool sets the whole text at once.
    void textSetWholeIsAnEdit() {
        ReminderBook book;
        QVERIFY(book.showActive());
        book.date->setText(QStringLiteral("2/2/2022"));
        QCOMPARE(book.table.state(), DataSet::State::Edit);
        book.navigator->click(DBNavigator::Post);
        QCOMPARE(book.db.scalar(QStringLiteral("SELECT HMEROMHNIA FROM YPENTHIMISEIS WHERE "
                                               "rowid=1")),
                 QStringLiteral("2022-02-02"));
    }

    // A date that is no date is refused wherever it is written: the row stays in editing,
    // the text stays as typed, the edit has the focus again, and the error is told once.
    void badDateIsRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("post") << "post";
        QTest::newRow("tab away") << "tab";
        QTest::newRow("click another row") << "click";
        QTest::newRow("next button") << "next";
    }
    void badDateIsRefused() {
        QFETCH(QString, how);
        ReminderBook book;
        QVERIFY(book.showActive());
        const QString before = book.stored();
        book.date->setFocus();
        book.date->selectAll();
        typeText(book.date, QStringLiteral("31/2/2008"));
        if (how == u"post")
            book.navigator->click(DBNavigator::Post);
        else if (how == u"tab")
            QTest::keyClick(book.date, Qt::Key_Tab);
        else if (how == u"click")
            book.clickRow(1);
        else
            book.navigator->click(DBNavigator::Next);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Error);
        QVERIFY(Messages::shown().first().text.contains(QStringLiteral("31/2/2008")));
        QCOMPARE(book.table.state(), DataSet::State::Edit);
        QCOMPARE(book.table.currentRow(), 0);
        QCOMPARE(book.grid->currentIndex().row(), 0);
        QCOMPARE(book.date->text(), QStringLiteral("31/2/2008"));
        QVERIFY(book.date->hasFocus());
        QCOMPARE(book.stored(), before);
    }

    // Closing drops an unposted edit without a word, even one the field would refuse.
    void closingDropsAnUnpostedEdit_data() {
        QTest::addColumn<bool>("closeScreen");
        QTest::newRow("data set closed") << false;
        QTest::newRow("screen closed") << true;
    }
    void closingDropsAnUnpostedEdit() {
        QFETCH(bool, closeScreen);
        ReminderBook book;
        QVERIFY(book.showActive());
        const QString before = book.stored();
        book.date->setFocus();
        typeText(book.date, QStringLiteral("πότε"));
        QCOMPARE(book.table.state(), DataSet::State::Edit);
        if (closeScreen)
            book.window.close();
        else
            book.table.close();
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(book.stored(), before);
        book.table.close();
        QVERIFY(book.date->text().isEmpty());
    }

    // Typing changes nothing while the row may not be edited.
    void typingIsRefusedWhileNotEditable_data() {
        QTest::addColumn<QString>("why");
        QTest::newRow("closed") << "closed";
        QTest::newRow("auto edit off") << "autoEdit";
        QTest::newRow("read-only query") << "query";
    }
    void typingIsRefusedWhileNotEditable() {
        QFETCH(QString, why);
        ReminderBook book;
        Query query;
        if (why == u"closed") {
            book.table.close();
        } else if (why == u"autoEdit") {
            book.source.setAutoEdit(false);
            book.date->setDataField(QStringLiteral("HMEROMHNIA")); // shows the rule at once
        } else {
            query.setConnection(book.connection.get());
            query.addSql(
                QStringLiteral("SELECT HMEROMHNIA FROM YPENTHIMISEIS GROUP BY HMEROMHNIA"));
            query.open();
            book.source.setDataSet(&query);
        }
        QVERIFY(book.showActive());
        const QString shown = book.date->text();
        book.date->setFocus();
        typeText(book.date, QStringLiteral("9"));
        QCOMPARE(book.date->text(), shown);
        QVERIFY(!book.source.dataSet()->isEditing());
        QVERIFY(Messages::shown().isEmpty());
    }

    void comboChoiceSetsTheField() {
        Customers c;
        DBComboBox sex;
        sex.setDataSource(&c.source);
        sex.setDataField(QStringLiteral("FYLO"));
        sex.addItems({QStringLiteral("ΑΡΡΕΝ"), QStringLiteral("ΘΗΛΥ")});
        QCOMPARE(sex.currentIndex(), -1); // no sex stored yet
        sex.show();
        QTest::keyClick(&sex, Qt::Key_Down);
        QCOMPARE(c.table.state(), DataSet::State::Edit);
        QCOMPARE(c.table.fieldByName(QStringLiteral("FYLO"))->displayText(), sex.currentText());
        c.table.post();
        QCOMPARE(c.db.scalar(QStringLiteral("SELECT FYLO FROM STOIXEIA_PELATH")),
                 sex.currentText());
        c.table.close();
        QCOMPARE(sex.currentIndex(), -1);
    }
};

QTEST_MAIN(TestDataControls)
#include "tst_ui_controls.moc"
