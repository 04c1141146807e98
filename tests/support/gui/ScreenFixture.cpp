#include "ScreenFixture.h"

#include "app/LongLivedScreens.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"

void ScreenFixture::begin() {
    Messages::setTestMode(true);
    Messages::setTestHook({});
    Messages::clearShown();
    Launcher::setTestMode(true);
    Launcher::clearCalls();
    Termination::setTestMode(true);
    Termination::clearRequests();
    // The catalogue opens the receipt screens and the appointment search as the program does.
    linkScreens();
}

void ScreenFixture::end() {
    // A hook left behind would work the next test's screens with this one's script.
    Modal::setTestHook({});
    Messages::setTestHook({});
    LongLived::clear();
    Clock::reset();
}

bool showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(w, Qt::Key_Return);
        else if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
