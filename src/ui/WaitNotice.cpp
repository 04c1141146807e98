#include "ui/WaitNotice.h"

#include "data/BusyWait.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace WaitNotice {

namespace {

class Notice : public QFrame {
public:
    Notice() : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setObjectName(QStringLiteral("WaitNotice"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette p = palette();
        p.setColor(QPalette::Window, Screen::skyBlue());
        setPalette(p);
        setAutoFillBackground(true);
        setFont(Screen::screenFont());
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(16, 12, 16, 12);
        auto* first = new QLabel(line(), this);
        first->setObjectName(QStringLiteral("Line"));
        QFont bold = first->font();
        bold.setBold(true);
        first->setFont(bold);
        m_detail = new QLabel(this);
        m_detail->setObjectName(QStringLiteral("Detail"));
        layout->addWidget(first);
        layout->addWidget(m_detail);
        setAccessibleName(line());
    }

    void showWaited(int waitedMs, int limitMs) {
        const int seconds = waitedMs / 1000;
        if (seconds != m_seconds || !isVisible()) {
            m_seconds = seconds;
            m_detail->setText(QStringLiteral("Άλλο πρόγραμμα χρησιμοποιεί το αρχείο data.mdb· "
                                             "αναμονή %1 από %2 δευτερόλεπτα.")
                                  .arg(seconds)
                                  .arg(limitMs / 1000));
            adjustSize();
        }
        if (isVisible())
            return;
        // Over the window the person is looking at.
        const QWidget* over = QApplication::activeWindow();
        const QRect area = over ? over->frameGeometry()
                           : QGuiApplication::primaryScreen()
                               ? QGuiApplication::primaryScreen()->availableGeometry()
                               : QRect(0, 0, width(), height());
        move(area.center() - rect().center());
        show();
    }

private:
    QLabel* m_detail;
    int m_seconds = -1;
};

QPointer<Notice> shown;

void hide() {
    if (!shown)
        return;
    shown->deleteLater();
    shown->hide();
    shown = nullptr;
    QApplication::restoreOverrideCursor();
}

void onStep(const BusyWait::Step& step) {
    if (step.phase == BusyWait::Phase::GaveUp) {
        hide(); // the error that follows is the person's next news
        return;
    }
    if (step.waitedMs < kShowAfterMs)
        return;
    if (!shown) {
        shown = new Notice;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    shown->showWaited(step.waitedMs, step.limitMs);
    // Paint, and let timers run; keys and clicks wait in the queue until the store is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // The store gives no word when the lock comes free. This runs at the first turn of an
    // event loop after the wait; one that runs during the next step finds the wait still on.
    QTimer::singleShot(0, shown.data(), [] {
        if (!BusyWait::isWaiting())
            hide();
    });
}

} // namespace

void install() {
    BusyWait::setHook(&onStep);
}

QString line() {
    return QStringLiteral("Αναμονή για το αρχείο δεδομένων…");
}

QWidget* window() {
    return shown.data();
}

} // namespace WaitNotice
