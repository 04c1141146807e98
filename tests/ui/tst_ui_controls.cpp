#include "UiFixture.h"

#include "access/Unit66.h"
#include "customers/Unit16.h"
#include "data/Global.h"
#include "receipts/Unit56.h"
#include "ui/DBComboBox.h"
#include "ui/DBText.h"
#include "ui/FieldLimit.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

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

// The ways text reaches a field.
enum class Way {
    Typed,
    KeyboardPaste,
    MenuPaste,
    Drop,
    AssistiveValue,
    AssistiveInsert,
    AssistiveReplace, // the whole text, as a screen reader sets a field's contents
};

// Puts text into an edit the given way, at its end, as a person or an assistive tool does.
void putText(QLineEdit* edit, Way way, const QString& text) {
    edit->setFocus();
    edit->end(false);
    QAccessibleInterface* assistive = QAccessible::queryAccessibleInterface(edit);
    switch (way) {
    case Way::Typed:
        typeText(edit, text);
        break;
    case Way::KeyboardPaste:
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(edit, QKeySequence::Paste);
        break;
    case Way::MenuPaste: {
        QGuiApplication::clipboard()->setText(text);
        // The edit's own menu, whose paste item names the paste keys after its caption.
        const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        const QString keys = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().endsWith(u'\t' + keys))
                paste = action;
        QVERIFY2(paste, "no paste item");
        paste->trigger();
        break;
    }
    case Way::Drop: {
        QMimeData data;
        data.setText(text);
        const QPointF at = edit->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &drop);
        break;
    }
    case Way::AssistiveValue:
        assistive->setText(QAccessible::Value, edit->text() + text);
        break;
    case Way::AssistiveInsert:
        assistive->editableTextInterface()->insertText(int(edit->text().size()), text);
        break;
    case Way::AssistiveReplace:
        assistive->editableTextInterface()->replaceText(0, int(edit->text().size()),
                                                        edit->text() + text);
        break;
    }
    QCoreApplication::processEvents(); // the refusal is told once the edit is done
}

struct Fit {
    Way way;
    int before; // digits already in the field
    QString added;
    bool taken;
    bool told;
};
Q_DECLARE_METATYPE(Fit)

// A field's limit: text that does not fit is refused whole with a message naming the field,
// never cut; one more typed character is simply not taken.
const QString kAmountRefused = QStringLiteral("Το κείμενο που επικολλήσατε δεν χωράει στο πεδίο "
                                              "«Ποσό:» (έως 30 χαρακτήρες) και δεν "
                                              "καταχωρήθηκε.");

// Typing into the data-bound fields, as the reminders book and the customer record do.
class TestDataControls : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Clock::setFixedForTesting(QDate(2026, 3, 15));
    }
    void cleanup() { ScreenFixture::end(); }

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

    void textThatDoesNotFitIsRefused_data() {
        QTest::addColumn<Fit>("c");
        const QString digits401 = QString(401, u'9');
        QTest::newRow("typed to the limit") << Fit{Way::Typed, 29, "1", true, false};
        QTest::newRow("typed past the limit") << Fit{Way::Typed, 30, "1", false, false};
        QTest::newRow("keyboard paste that fits")
            << Fit{Way::KeyboardPaste, 2, "12,50", true, false};
        QTest::newRow("keyboard paste, 401 digits")
            << Fit{Way::KeyboardPaste, 0, digits401, false, true};
        QTest::newRow("menu paste, two past") << Fit{Way::MenuPaste, 29, "12", false, true};
        QTest::newRow("drop past") << Fit{Way::Drop, 0, digits401, false, true};
        QTest::newRow("assistive value past")
            << Fit{Way::AssistiveValue, 5, digits401, false, true};
        QTest::newRow("assistive insert past")
            << Fit{Way::AssistiveInsert, 5, digits401, false, true};
        QTest::newRow("assistive contents past")
            << Fit{Way::AssistiveReplace, 5, digits401, false, true};
        QTest::newRow("assistive insert that fits")
            << Fit{Way::AssistiveInsert, 5, "12,50", true, false};
    }
    void textThatDoesNotFitIsRefused() {
        QFETCH(Fit, c);
        Screen window;
        auto* label = new QLabel(QStringLiteral("&Ποσό:"), &window);
        auto* edit = new QLineEdit(&window);
        edit->setMaxLength(30); // as a designer file gives it
        label->setBuddy(edit);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(edit);
        QVERIFY(showActive(window));
        QCOMPARE(FieldLimit::of(edit), 30);
        QCOMPARE(edit->maxLength(), FieldLimit::kNone); // Qt's own cut is lifted
        const QString before(c.before, u'1');
        edit->setText(before);
        putText(edit, c.way, c.added);
        QCOMPARE(edit->text(), c.taken ? before + c.added : before);
        QCOMPARE(Messages::shownTexts(), c.told ? QStringList{kAmountRefused} : QStringList());
    }

    // A longer text than the column's width (a file written by an older program) shows whole
    // and may be shortened; it may not grow.
    void storedTextShowsWhole() {
        Customers c;
        const QString longer = QStringLiteral("Παπαδοπούλου-") + QString(60, u'Α');
        c.db.exec(QStringLiteral("UPDATE STOIXEIA_PELATH SET EPWNYMO='%1'").arg(longer));
        c.table.close();
        c.table.open();
        Screen window;
        auto* surname = new DBEdit(&window);
        (new QVBoxLayout(&window))->addWidget(surname);
        surname->setDataSource(&c.source);
        surname->setDataField(QStringLiteral("EPWNYMO"));
        QVERIFY(showActive(window));
        QCOMPARE(FieldLimit::of(surname), 50);
        QCOMPARE(surname->text(), longer);
        QCOMPARE(c.table.state(), DataSet::State::Browse);
        putText(surname, Way::KeyboardPaste, QStringLiteral("ΑΒ"));
        QCOMPARE(surname->text(), longer);
        QCOMPARE(Messages::shownTexts().size(), 1);
        QTest::keyClick(surname, Qt::Key_Backspace);
        QCOMPARE(surname->text(), longer.chopped(1));
    }

    // Every screen's limited fields refuse a paste that does not fit, naming the field.
    void screensRefuseWhatDoesNotFit_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("limit");
        QTest::newRow("issuing amount") << "56"
                                        << "Edit3"
                                        << "Ποσό:" << 30;
        QTest::newRow("issuing description") << "56"
                                             << "Edit2"
                                             << "Περιγραφή:" << 255;
        QTest::newRow("issuing fund") << "56"
                                      << "Edit4"
                                      << "Ταμείο:" << 100;
        QTest::newRow("registration surname") << "16"
                                              << "DBEdit2"
                                              << "Επώνυμο:" << 50;
        QTest::newRow("new access code") << "66"
                                         << "Edit2"
                                         << "Νέος κωδικός πρόσβασης:" << 50;
    }
    void screensRefuseWhatDoesNotFit() {
        QFETCH(QString, screen);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(int, limit);
        TestDatabase db;
        std::unique_ptr<QWidget> form;
        if (screen == u"56")
            form = std::make_unique<TForm56>();
        else if (screen == u"16")
            form = std::make_unique<TForm16>();
        else
            form = std::make_unique<TForm66>();
        QVERIFY(showActive(*form));
        auto* edit = child<QLineEdit>(*form, field);
        QCOMPARE(FieldLimit::of(edit), limit);
        putText(edit, Way::KeyboardPaste, QString(limit + 1, u'7'));
        QCOMPARE(edit->text(), QString());
        QCOMPARE(Messages::shownTexts(), QStringList{FieldLimit::refusedText(caption, limit)});
        putText(edit, Way::KeyboardPaste, QString(limit, u'7'));
        QCOMPARE(edit->text(), QString(limit, u'7'));
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
