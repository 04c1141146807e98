#include "../ui/UiFixture.h"

#include "access/Unit100.h"
#include "access/Unit65.h"
#include "access/Unit66.h"
#include "data/Global.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QWindow>

namespace {

std::unique_ptr<Screen> makeScreen(const QString& which) {
    if (which == u"65")
        return std::make_unique<TForm65>();
    if (which == u"100")
        return std::make_unique<TForm100>();
    return std::make_unique<TForm66>();
}

QLineEdit* edit(const QWidget& screen, const QString& name) {
    return screen.findChild<QLineEdit*>(name);
}

QPushButton* button(const QWidget& screen, const QString& name) {
    return screen.findChild<QPushButton*>(name);
}

// Types into a field as a person does, replacing what it held.
void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->clear();
    typeText(field, text);
}

// The codes a person types: old, new and confirmation; TForm65 takes only the first.
void typeCodes(const QWidget& screen, const QString& which, const QStringList& codes) {
    const QStringList names = which == u"65"    ? QStringList{"Edit1"}
                              : which == u"100" ? QStringList{"Edit2", "Edit3"}
                                                : QStringList{"Edit1", "Edit2", "Edit3"};
    for (int i = 0; i < names.size(); ++i)
        retype(edit(screen, names[i]), codes.value(i));
}

QString storedCode(const TestDatabase& db) {
    return db.scalar(QStringLiteral("SELECT [PASSWORD] FROM SECURITY"));
}

void setStoredCode(const TestDatabase& db, const QString& code) {
    db.exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='%1'").arg(code));
}

const QString kRefused = QStringLiteral("Λανθασμένος κωδικός πρόσβασης.");

} // namespace

// The access check at start, the first definition of the code and its change.
class TestAccessCode : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Global::AccessGranted = false;
    }
    void cleanup() { ScreenFixture::end(); }

    // Which window kind each screen is, which buttons Enter and Esc press, and how the code
    // fields show what is typed.
    void screensAreBuiltAsAccessScreens_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("fields");
        QTest::newRow("access check") << "65" << false << "Button2"
                                      << "Edit1";
        QTest::newRow("definition") << "100" << false << ""
                                    << "Edit2 Edit3";
        QTest::newRow("change") << "66" << true << "Button2"
                                << "Edit1 Edit2 Edit3";
    }
    void screensAreBuiltAsAccessScreens() {
        QFETCH(QString, screen);
        QFETCH(bool, closeBox);
        QFETCH(QString, cancel);
        QFETCH(QString, fields);
        TestDatabase db;
        const auto form = makeScreen(screen);
        QVERIFY(showActive(*form));
        QCOMPARE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint), closeBox);
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->cancelButton() ? form->cancelButton()->objectName() : QString(), cancel);
        QPushButton* ok = button(*form, QStringLiteral("Button1"));
        QVERIFY(ok->isDefault());
        QVERIFY(!ok->isEnabled());
        QCOMPARE(form->minimumSize(), form->maximumSize());

        for (const QString& name : fields.split(u' ')) {
            QLineEdit* field = edit(*form, name);
            QCOMPARE(field->echoMode(), QLineEdit::Password);
            QCOMPARE(
                field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field),
                int(u'*'));
            retype(field, QStringLiteral("αβ γ"));
            QCOMPARE(field->displayText(), QStringLiteral("****"));
            QCOMPARE(field->text(), QStringLiteral("αβ γ"));
            // The caption beside the field names it.
            bool named = false;
            for (const QLabel* label : form->findChildren<QLabel*>())
                named = named || label->buddy() == field;
            QVERIFY2(named, qPrintable(name));
        }
        // Tab walks the fields in order, from the first.
        const QStringList order = fields.split(u' ');
        edit(*form, order.first())->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), edit(*form, order[i]));
        }
    }

    void accessCheck_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("granted");
        QTest::newRow("same code") << "Maria 2008"
                                   << "Maria 2008" << true;
        QTest::newRow("blanks around the typed code") << "Maria 2008"
                                                      << "  Maria 2008 " << true;
        QTest::newRow("Greek letters and a slash") << "Σαλόνι/7"
                                                   << "Σαλόνι/7" << true;
        QTest::newRow("shipped default") << "58204613"
                                         << "58204613" << true;
        QTest::newRow("upper case differs") << "Maria 2008"
                                            << "MARIA 2008" << false;
        QTest::newRow("Greek case differs") << "σαλόνι"
                                            << "Σαλόνι" << false;
        QTest::newRow("inner blank differs") << "Maria 2008"
                                             << "Maria  2008" << false;
        QTest::newRow("prefix only") << "Maria 2008"
                                     << "Maria" << false;
    }
    void accessCheck() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, granted);
        TestDatabase db;
        setStoredCode(db, stored);
        Global::AccessGranted = true; // left over; the check starts from "refused"
        TForm65 form;
        QVERIFY(!Global::AccessGranted);
        QVERIFY(showActive(form));
        QLineEdit* code = edit(form, QStringLiteral("Edit1"));
        retype(code, typed);
        QVERIFY(button(form, QStringLiteral("Button1"))->isEnabled());
        QTest::keyClick(code, Qt::Key_Return);

        QCOMPARE(Global::AccessGranted, granted);
        QCOMPARE(form.isVisible(), !granted);
        if (granted) {
            QVERIFY(Messages::shown().isEmpty());
            return;
        }
        QCOMPARE(Messages::shownTexts(), QStringList{kRefused});
        QVERIFY(code->text().isEmpty());
        QVERIFY(code->hasFocus());
        QVERIFY(!button(form, QStringLiteral("Button1"))->isEnabled());
        // Another try after a wrong one gets in.
        typeText(code, stored);
        QTest::keyClick(code, Qt::Key_Return);
        QVERIFY(Global::AccessGranted);
        QVERIFY(!form.isVisible());
    }

    // The stored code is read at every press, so a change made meanwhile counts at once.
    void accessCheckReadsTheStoredCodeAtEveryPress() {
        TestDatabase db;
        TForm65 form;
        QVERIFY(showActive(form));
        QLineEdit* code = edit(form, QStringLiteral("Edit1"));
        retype(code, QStringLiteral("νέος"));
        QTest::keyClick(code, Qt::Key_Return);
        QVERIFY(!Global::AccessGranted);
        setStoredCode(db, QStringLiteral("νέος"));
        typeText(code, QStringLiteral("νέος"));
        QTest::keyClick(code, Qt::Key_Return);
        QVERIFY(Global::AccessGranted);
        QCOMPARE(Messages::shownTexts(), QStringList{kRefused});
    }

    // The action button stays disabled, with no message, until every code passes the checks.
    void actionButtonFollowsTheTypedCodes_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("enabled");
        const QString clean = QStringLiteral("Κωδ/ικός 12");
        QTest::newRow("65 clean") << "65" << QStringList{clean} << true;
        QTest::newRow("65 empty") << "65" << QStringList{""} << false;
        QTest::newRow("65 blanks only") << "65" << QStringList{"   "} << false;
        QTest::newRow("100 equal") << "100" << QStringList{clean, clean} << true;
        QTest::newRow("100 equal after trimming")
            << "100" << QStringList{" " + clean, clean + "  "} << true;
        QTest::newRow("100 confirmation differs")
            << "100" << QStringList{clean, clean + "3"} << false;
        QTest::newRow("100 case differs") << "100" << QStringList{"abc", "ABC"} << false;
        QTest::newRow("100 confirmation empty") << "100" << QStringList{clean, ""} << false;
        QTest::newRow("66 right old code") << "66" << QStringList{"58204613", clean, clean} << true;
        QTest::newRow("66 old code with blanks")
            << "66" << QStringList{" 58204613 ", clean, clean} << true;
        QTest::newRow("66 wrong old code")
            << "66" << QStringList{"58204614", clean, clean} << false;
        QTest::newRow("66 no old code") << "66" << QStringList{"", clean, clean} << false;
        QTest::newRow("66 confirmation differs")
            << "66" << QStringList{"58204613", clean, "other"} << false;
        // Every forbidden character, in each code of each screen.
        const QString forbidden = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");
        QCOMPARE(forbidden.size(), 31);
        for (const QChar c : forbidden) {
            const QString bad = QStringLiteral("ab") + c + QStringLiteral("cd");
            QTest::addRow("65 %c", c.toLatin1()) << "65" << QStringList{bad} << false;
            QTest::addRow("100 %c", c.toLatin1()) << "100" << QStringList{bad, bad} << false;
            QTest::addRow("66 %c in new", c.toLatin1())
                << "66" << QStringList{"58204613", bad, bad} << false;
        }
        QTest::newRow("66 forbidden in old code")
            << "66" << QStringList{"5820'4613", clean, clean} << false;
    }
    void actionButtonFollowsTheTypedCodes() {
        QFETCH(QString, screen);
        QFETCH(QStringList, codes);
        QFETCH(bool, enabled);
        TestDatabase db;
        if (QByteArray(QTest::currentDataTag()) == "66 forbidden in old code")
            setStoredCode(db, QStringLiteral("5820''4613")); // even the stored code never passes
        const auto form = makeScreen(screen);
        QVERIFY(showActive(*form));
        typeCodes(*form, screen, codes);
        QPushButton* action = button(*form, QStringLiteral("Button1"));
        QCOMPARE(action->isEnabled(), enabled);
        // Enter presses the default button only while it is enabled.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (!enabled) {
            QVERIFY(Messages::shown().isEmpty());
            QVERIFY(form->isVisible());
            QVERIFY(!Global::AccessGranted);
        }
    }

    void newCodeIsStored_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        const QString defined =
            QStringLiteral("Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.");
        const QString changed = QStringLiteral("Η αλλαγή του κωδικού πρόσβασης έγινε με επιτυχία.");
        QTest::newRow("definition") << "100"
                                    << "Ρόδα 44"
                                    << "Ρόδα 44" << defined;
        QTest::newRow("definition trimmed") << "100"
                                            << "  Ρόδα/44 "
                                            << "Ρόδα/44" << defined;
        QTest::newRow("change") << "66"
                                << "abcXYZ"
                                << "abcXYZ" << changed;
        QTest::newRow("change trimmed") << "66"
                                        << " abc XYZ  "
                                        << "abc XYZ" << changed;
    }
    void newCodeIsStored() {
        QFETCH(QString, screen);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        TestDatabase db;
        const auto form = makeScreen(screen);
        // Shown the way the program shows it; the hook plays the person.
        Modal::setTestHook([&](QDialog& d) {
            if (!showActive(d))
                return -1;
            typeCodes(d, screen,
                      screen == u"66" ? QStringList{QStringLiteral("58204613"), typed, typed}
                                      : QStringList{typed, typed});
            button(d, QStringLiteral("Button1"))->click();
            return 0;
        });
        Modal::exec(*form);
        QCOMPARE(Messages::shownTexts(), QStringList{message});
        QCOMPARE(storedCode(db), stored);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM SECURITY")), QStringLiteral("1"));
        QVERIFY(!form->isVisible());
    }

    // A file whose SECURITY row has gone missing gets it back instead of a false success.
    void definingRestoresALostRow() {
        TestDatabase db;
        db.exec(QStringLiteral("DELETE FROM SECURITY"));
        TForm100 form;
        QVERIFY(showActive(form));
        typeCodes(form, QStringLiteral("100"),
                  {QStringLiteral("κλειδί"), QStringLiteral("κλειδί")});
        button(form, QStringLiteral("Button1"))->click();
        QCOMPARE(storedCode(db), QStringLiteral("κλειδί"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM SECURITY")), QStringLiteral("1"));
    }

    // At start: the definition screen, then the access check, which takes only the new code.
    void definitionThenAccessCheck() {
        TestDatabase db;
        QCOMPARE(storedCode(db), QStringLiteral("58204613"));
        TForm100 definition;
        Modal::setTestHook([](QDialog& d) {
            typeCodes(d, QStringLiteral("100"), {QStringLiteral("Ελ 5"), QStringLiteral("Ελ 5")});
            QTest::keyClick(edit(d, QStringLiteral("Edit3")), Qt::Key_Return);
            return 0;
        });
        Modal::exec(definition);
        QCOMPARE(storedCode(db), QStringLiteral("Ελ 5"));
        for (const QString& typed : {QStringLiteral("58204613"), QStringLiteral("Ελ 5")}) {
            TForm65 check;
            Modal::setTestHook([&](QDialog& d) {
                typeCodes(d, QStringLiteral("65"), {typed});
                button(d, QStringLiteral("Button1"))->click();
                if (d.isVisible())
                    button(d, QStringLiteral("Button2"))->click();
                return 0;
            });
            Modal::exec(check);
            QCOMPARE(Global::AccessGranted, typed != u"58204613");
        }
    }

    // How each screen may be left, and that leaving stores nothing and grants nothing.
    void leavingTheScreens_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        for (const char* how : {"Esc", "exit button", "close box"}) {
            QTest::addRow("65 %s", how) << "65" << how << true;
            QTest::addRow("66 %s", how) << "66" << how << true;
        }
        QTest::newRow("100 Esc") << "100"
                                 << "Esc" << false;
        QTest::newRow("100 close box") << "100"
                                       << "close box" << false;
    }
    void leavingTheScreens() {
        QFETCH(QString, screen);
        QFETCH(QString, how);
        QFETCH(bool, closes);
        TestDatabase db;
        const auto form = makeScreen(screen);
        QVERIFY(showActive(*form));
        // A right code typed but not confirmed changes nothing when the screen is left.
        typeCodes(*form, screen,
                  {QStringLiteral("58204613"), QStringLiteral("x1"), QStringLiteral("x1")});
        if (how == u"Esc")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else if (how == u"exit button")
            button(*form, QStringLiteral("Button2"))->click();
        else
            form->windowHandle()->close();
        QCOMPARE(form->isVisible(), !closes);
        QVERIFY(!Global::AccessGranted);
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(storedCode(db), QStringLiteral("58204613"));
    }
};

QTEST_MAIN(TestAccessCode)
#include "tst_access_code.moc"
