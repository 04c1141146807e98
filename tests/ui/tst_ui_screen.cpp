#include "ScreenFixture.h"

#include "data/Global.h"
#include "data/StoreError.h"
#include "data/UserError.h"
#include "data/Values.h"
#include "ui/DBGrid.h"
#include "ui/DBMemo.h"
#include "ui/Guard.h"
#include "ui/Screen.h"
#include "ui/Seams.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <functional>
#include <new>
#include <stdexcept>

namespace {
using Thrower = std::function<void()>;

// A screen with a few controls, an OK button and an exit button, counting its hooks.
class SampleScreen : public Screen {
public:
    QLineEdit* field = new QLineEdit(this);
    DBMemo* memo = new DBMemo(this);
    DBGrid* grid = new DBGrid(this);
    QPushButton* okButton = new QPushButton(QStringLiteral("OK"), this);
    QPushButton* exitButton = new QPushButton(QStringLiteral("Έ&ξοδος"), this);
    int shows = 0;
    int closes = 0;
    bool mayClose = true;
    bool failOnShow = false;

    explicit SampleScreen(bool withCancel) {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{field, memo, grid, okButton, exitButton})
            layout->addWidget(w);
        connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
        connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
        if (withCancel)
            setCancelButton(exitButton);
    }

    void onClick(bool) { throw UserError(QStringLiteral("σφάλμα μέλους")); }

protected:
    void FormShow() override {
        ++shows;
        if (failOnShow)
            throw UserError(QStringLiteral("Το αρχείο δεν βρέθηκε."));
    }
    bool FormCloseQuery() override { return mayClose; }
    void FormClose() override { ++closes; }
};
} // namespace

Q_DECLARE_METATYPE(Thrower)

// The screen base and the seams every screen goes through.
class TestScreen : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }
    void cleanup() { ScreenFixture::end(); }

    void escapeClicksTheCancelButton_data() {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<int>("focus");
        for (int focus = 0; focus < 3; ++focus) {
            QTest::addRow("exit button, focus %d", focus) << true << focus;
            QTest::addRow("no exit button, focus %d", focus) << false << focus;
        }
    }
    void escapeClicksTheCancelButton() {
        QFETCH(bool, withCancel);
        QFETCH(int, focus);
        SampleScreen screen(withCancel);
        QSignalSpy exitClicks(screen.exitButton, &QPushButton::clicked);
        screen.show();
        QWidget* target = QList<QWidget*>{screen.field, screen.memo, screen.grid}.at(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        QCOMPARE(exitClicks.count(), withCancel ? 1 : 0);
        QCOMPARE(screen.isVisible(), !withCancel);
        QCOMPARE(screen.closes, withCancel ? 1 : 0);
    }

    // Enter never reaches the exit button by itself: that would drop what is being typed.
    void enterAnswersOnlyTheChosenButton_data() {
        QTest::addColumn<bool>("okIsDefault");
        QTest::addColumn<bool>("focusExit");
        QTest::addColumn<int>("okClicks");
        QTest::addColumn<int>("exitClicks");
        QTest::addRow("no default, in a field") << false << false << 0 << 0;
        QTest::addRow("no default, on the exit button") << false << true << 0 << 1;
        QTest::addRow("OK is the default, in a field") << true << false << 1 << 0;
    }
    void enterAnswersOnlyTheChosenButton() {
        QFETCH(bool, okIsDefault);
        QFETCH(bool, focusExit);
        SampleScreen screen(true);
        screen.okButton->setDefault(okIsDefault);
        QSignalSpy ok(screen.okButton, &QPushButton::clicked);
        QSignalSpy exit(screen.exitButton, &QPushButton::clicked);
        screen.show();
        QWidget* target = focusExit ? static_cast<QWidget*>(screen.exitButton) : screen.field;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTEST(int(ok.count()), "okClicks");
        QTEST(int(exit.count()), "exitClicks");
    }

    void everyCloseRunsTheCloseHooks_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("mayClose");
        for (const char* how : {"exit button", "close box", "accept", "reject", "done"}) {
            QTest::addRow("%s", how) << how << true;
            QTest::addRow("%s refused", how) << how << false;
        }
    }
    void everyCloseRunsTheCloseHooks() {
        QFETCH(QString, how);
        QFETCH(bool, mayClose);
        SampleScreen screen(true);
        screen.mayClose = mayClose;
        screen.show();
        if (how == u"exit button")
            screen.exitButton->click();
        else if (how == u"close box")
            screen.windowHandle()->close();
        else if (how == u"accept")
            screen.accept();
        else if (how == u"reject")
            screen.reject();
        else
            screen.done(7);
        QCOMPARE(screen.isVisible(), !mayClose);
        QCOMPARE(screen.closes, mayClose ? 1 : 0);
    }

    void showHookRunsOnEveryShowing() {
        SampleScreen screen(true);
        screen.failOnShow = true;
        screen.show();
        QCOMPARE(Messages::shownTexts(), QStringList{QStringLiteral("Το αρχείο δεν βρέθηκε.")});
        QVERIFY(screen.isVisible()); // the screen stays open after the error
        screen.close();
        screen.show();
        QCOMPARE(screen.shows, 2);
        QCOMPARE(screen.minimumSize(), screen.maximumSize());
    }

    // A caller that handles the error itself gets it back, and the screen closes by itself
    // even in a real modal loop, with no error box shown.
    void keptShowErrorClosesTheScreen() {
        SampleScreen screen(true);
        screen.failOnShow = true;
        screen.setKeepShowErrors(true);
        QCOMPARE(Modal::exec(screen), int(QDialog::Rejected));
        QVERIFY(!screen.isVisible());
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(screen.showFailure());
        QCOMPARE(screen.closes, 1);
        try {
            std::rethrow_exception(screen.showFailure());
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Το αρχείο δεν βρέθηκε."));
        }
    }

    // The guard shows what went wrong, once per failure, and lets the program go on: the
    // program's own sentences as they are, a store error as its sentence with the store's
    // text, anything else as one fixed sentence with the details only in the log.
    void guardShowsTheMessage_data() {
        QTest::addColumn<Thrower>("thrower");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("logged"); // a pattern of the critical log line; empty: none
        const QString typed = QStringLiteral("Η τιμή \"31/2\" δεν είναι έγκυρη ημερομηνία.");
        const QString unexpected = QStringLiteral("Παρουσιάστηκε απρόσμενο σφάλμα.");
        QTest::newRow("the program's own sentence")
            << Thrower([] { throw UserError(QStringLiteral("σφάλμα μέλους")); }) << "σφάλμα μέλους"
            << "";
        QTest::newRow("member handler") << Thrower() << "σφάλμα μέλους"
                                        << "";
        QTest::newRow("typed value")
            << Thrower([typed] { throw InputError(typed); }) << typed << "";
        QTest::newRow("store error") << Thrower([] {
            throw StoreError::Failure(StoreError::Kind::Busy, 5, "database is locked");
        }) << StoreError::sentence(StoreError::Kind::Busy) + u'\r' + "database is locked"
                                     << "";
        QTest::newRow("English text of a library")
            << Thrower([] { throw std::runtime_error("database is locked"); }) << unexpected
            << "std::runtime_error.*database is locked";
        QTest::newRow("out of memory")
            << Thrower([] { throw std::bad_alloc(); }) << unexpected << "std::bad_alloc";
        QTest::newRow("internal fault")
            << Thrower([] { throw std::logic_error("the screen has no Edit1"); }) << unexpected
            << "std::logic_error.*the screen has no Edit1";
        QTest::newRow("not an exception") << Thrower([] { throw 42; }) << unexpected << "int";
    }
    void guardShowsTheMessage() {
        QFETCH(Thrower, thrower);
        QFETCH(QString, shown);
        QFETCH(QString, logged);
        SampleScreen screen(true);
        if (!thrower)
            connectGuarded(screen.okButton, &QPushButton::clicked, &screen, &SampleScreen::onClick);
        else
            connectGuarded(screen.okButton, &QPushButton::clicked, &screen, thrower);
        if (!logged.isEmpty())
            for (int i = 0; i < 2; ++i)
                QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(logged));
        screen.okButton->click();
        screen.okButton->click();
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Error);
        QCOMPARE(Messages::shown().first().text, shown);
    }

    void modalHookWorksTheScreen_data() {
        QTest::addColumn<bool>("pressOk");
        QTest::addColumn<int>("result");
        QTest::newRow("hook presses OK") << true << int(QDialog::Accepted);
        QTest::newRow("hook leaves it open") << false << 5;
    }
    void modalHookWorksTheScreen() {
        QFETCH(bool, pressOk);
        QFETCH(int, result);
        SampleScreen screen(true);
        bool wasShown = false;
        Modal::setTestHook([&](QDialog& d) {
            wasShown = d.isVisible();
            if (pressOk)
                static_cast<SampleScreen&>(d).okButton->click();
            return 5;
        });
        QCOMPARE(Modal::exec(screen), result);
        QVERIFY(wasShown);
        QCOMPARE(screen.shows, 1);
        QCOMPARE(screen.closes, 1);
        QVERIFY(!screen.isVisible());
    }

    void fixedClockGovernsTwoDigitYears() {
        Clock::setFixedForTesting(QDate(2031, 2, 3));
        QCOMPARE(Clock::today(), QDate(2031, 2, 3));
        // "80" is 2080 only when two-digit years are read against the fixed year.
        QCOMPARE(Global::ParseTypedDate(QStringLiteral("1/1/80"), Global::CurrentYear())
                     .value_or(QDate()),
                 QDate(2080, 1, 1));
    }
};

QTEST_MAIN(TestScreen)
#include "tst_ui_screen.moc"
