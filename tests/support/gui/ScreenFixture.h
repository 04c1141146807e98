#pragma once

#include "TestSupport.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

// The ground every screen test stands on: a fresh data file made the working folder, message
// boxes recorded and answered from a script (no answers queued), nothing started, the program
// never ended, the screens of one folder opened from another's linked; and afterwards no modal
// hook, no long-lived screen and the system clock again. A fixture of an area derives from it; a
// test class without one calls begin() from init() and end() from cleanup().
class ScreenFixture {
public:
    static void begin();
    static void end();

    // The ground alone, for a fixture that brings its own data file.
    struct Scope {
        Scope() { begin(); }
        ~Scope() { end(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

private:
    Scope m_scope; // first in, last out: the file goes while the ground still holds

public:
    TestDatabase db;
};

// Shows a window as the active one, so that focus changes happen as for a person.
bool showActive(QWidget& window);

// A control of a screen by its name; a missing one ends the test program at once.
template <class T> T* child(const QObject& screen, const QString& name) {
    T* found = screen.findChild<T*>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

// Types text as a person does; QTest's own typing knows only Latin-1.
void typeText(QWidget* w, const QString& text);
