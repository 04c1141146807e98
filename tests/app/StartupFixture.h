#pragma once

#include "ScreenFixture.h"
#include "TestSupport.h"

#include "app/Unit3.h"
#include "app/Unit4.h"
#include "data/Global.h"
#include "ui/Seams.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

// Runs start-up over a fresh data file made the working folder, with a person scripted:
// the splash is let go at once, codes are typed as the scenario says, and every screen and
// message is written into a journal in the order it appeared.
struct Startup : ScreenFixture {
    QString savedDir = QDir::currentPath();
    QStringList journal;
    QString newCode;   // typed twice on the definition screen
    QStringList tries; // typed on the access check one after the other; none left: exit
    std::function<void(QDialog&)> onOther; // any screen the script does not know

    Startup() {
        QDir::setCurrent(db.dir());
        Clock::setFixedForTesting(QDateTime(QDate(2026, 3, 15), QTime(10, 0, 0)));
        Modal::setTestHook([this](QDialog& d) { return work(d); });
        Messages::setTestHook([this](Messages::Kind, const QString& text) {
            journal << QStringLiteral("message:") + text.section(u'\r', 0, 0);
            return answers.isEmpty() ? false : answers.takeFirst();
        });
    }
    ~Startup() { QDir::setCurrent(savedDir); }

    QList<bool> answers; // for questions, in order

    void setStoredCode(const QString& code) {
        db.exec(QStringLiteral("UPDATE SECURITY SET PASSWORD='%1'").arg(code));
    }

    std::unique_ptr<TForm3> start() { return std::make_unique<TForm3>(); }

    // Starts with a code of the user's own and types it: the usual way into the main window.
    std::unique_ptr<TForm3> startSignedIn() {
        setStoredCode(QStringLiteral("1234"));
        tries = {QStringLiteral("1234")};
        auto form = start();
        journal.clear();
        Messages::clearShown();
        return form;
    }

    static void press(QDialog& d, const char* button) {
        auto* b = d.findChild<QPushButton*>(QLatin1String(button));
        QVERIFY2(b, button);
        QVERIFY2(b->isEnabled(), button);
        b->click();
    }
    static void type(QDialog& d, const char* edit, const QString& text) {
        auto* e = d.findChild<QLineEdit*>(QLatin1String(edit));
        QVERIFY2(e, edit);
        e->setText(text);
    }

    int work(QDialog& d) {
        const QString kind = QString::fromLatin1(d.metaObject()->className());
        journal << kind;
        if (kind == QLatin1String("TForm4")) {
            auto& splash = static_cast<TForm4&>(d);
            if (!splash.Timer1->isActive() || splash.Timer1->interval() != 3000)
                journal << QStringLiteral("splash timer wrong");
            splash.Timer1Timer();
        } else if (kind == QLatin1String("TForm100")) {
            type(d, "Edit2", newCode);
            type(d, "Edit3", newCode);
            press(d, "Button1");
        } else if (kind == QLatin1String("TForm65")) {
            while (d.isVisible() && !tries.isEmpty()) {
                type(d, "Edit1", tries.takeFirst());
                press(d, "Button1");
            }
            if (d.isVisible())
                press(d, "Button2");
        } else if (onOther) {
            onOther(d);
        }
        return QDialog::Rejected;
    }
};
