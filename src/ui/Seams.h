#pragma once

#include "data/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

// The few places where the program waits for a person or reaches outside itself. Each has a
// test mode, so that no test ever blocks in a modal loop, starts a program or reads the clock.

// Shows a screen modally.
class Modal {
public:
    using Hook = std::function<int(QDialog&)>;

    // Runs the dialog's own event loop, or, with a hook installed, shows the dialog, lets the
    // hook work it (click its buttons, close it) and returns its result.
    static int exec(QDialog& dialog);

    static void setTestHook(Hook hook); // an empty hook returns to real modal loops
};

// The standard message boxes, all titled "Marivelle".
class Messages {
public:
    enum class Kind { Information, Error, Question, Confirm };
    struct Shown {
        Kind kind;
        QString text;
    };
    // Answers a message in place of the person: true for Yes or OK.
    using Hook = std::function<bool(Kind kind, const QString& text)>;

    static void information(QWidget* parent, const QString& text);
    static void error(QWidget* parent, const QString& text);
    static bool question(QWidget* parent, const QString& text); // Yes / No
    // The same with the button Enter answers; No for what cannot be undone.
    enum class Default { Yes, No };
    static bool question(QWidget* parent, const QString& text, Default byDefault);
    static bool confirm(QWidget* parent, const QString& text); // OK / Cancel

    static QString title() { return QStringLiteral("Marivelle"); }

    // Test mode: no box is ever shown, every message is recorded, and questions take their
    // answers from the queue (or from the hook when one is set). An empty queue answers No.
    static void setTestMode(bool on);
    static bool isTestMode();
    static void setTestHook(Hook hook);
    static void setNextAnswers(const QList<bool>& answers); // appended to the queue
    static const QList<Shown>& shown();
    static QStringList shownTexts();
    static void clearShown(); // also empties the queue
};

// Starts other programs and opens addresses without waiting for them.
class Launcher {
public:
    struct Call {
        QString program; // empty for an address
        QStringList arguments;
        QUrl url;
    };

    // Starts the first of the candidates that is installed; false when none is.
    static bool startDetached(const QStringList& candidates, const QStringList& arguments = {});
    static bool openUrl(const QUrl& url);

    // Test mode: nothing is started; the calls are recorded, and a candidate counts as
    // installed only when it is in the given list.
    static void setTestMode(bool on, const QStringList& installed = {});
    static bool isTestMode();
    static const QList<Call>& calls();
    static void clearCalls();
};

// Ends the program at once: every event loop returns and no window is asked to close, so the
// main window's exit question is not asked.
class Termination {
public:
    static void terminate();

    // Test mode: the program goes on, and the requests are counted.
    static void setTestMode(bool on);
    static bool isTestMode();
    static int requests();
    static void clearRequests();
};
