#include "ui/Seams.h"

#include "data/Global.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

// ---- Modal ----

namespace {
Modal::Hook& modalHook() {
    static Modal::Hook hook;
    return hook;
}
} // namespace

int Modal::exec(QDialog& dialog) {
    Hook hook = modalHook(); // a copy: the hook may replace itself
    if (!hook)
        return dialog.exec();
    QPointer<QDialog> guard(&dialog);
    dialog.show();
    const int answer = hook(dialog);
    if (!guard)
        return answer;
    if (dialog.isVisible()) {
        dialog.done(answer);
        return answer;
    }
    return dialog.result();
}

void Modal::setTestHook(Hook hook) {
    modalHook() = std::move(hook);
}

// ---- Messages ----

namespace {
struct MessageScript {
    bool testMode = false;
    Messages::Hook hook;
    QList<bool> answers;
    QList<Messages::Shown> shown;
};

MessageScript& script() {
    static MessageScript s;
    return s;
}

// Records the message and returns the scripted answer, or nothing when a real box is due.
std::optional<bool> scripted(Messages::Kind kind, const QString& text) {
    MessageScript& s = script();
    if (!s.testMode && !s.hook)
        return std::nullopt;
    s.shown.append({kind, text});
    if (s.hook)
        return s.hook(kind, text);
    if (kind == Messages::Kind::Information || kind == Messages::Kind::Error)
        return true;
    if (s.answers.isEmpty()) {
        qWarning("Messages: no answer queued for \"%s\"; answering No", qUtf8Printable(text));
        return false;
    }
    return s.answers.takeFirst();
}

QMessageBox::StandardButton showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) {
    // The program's texts break lines with a bare carriage return, which a label would not
    // show as a break.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon, Messages::title(), shown, buttons, parent ? parent->window() : nullptr);
    box.setDefaultButton(defaultButton);
    // Qt ships no Greek strings for its own buttons.
    const std::pair<QMessageBox::StandardButton, QString> greek[] = {
        {QMessageBox::Yes, QStringLiteral("&Ναι")},
        {QMessageBox::No, QStringLiteral("Ό&χι")},
        {QMessageBox::Ok, QStringLiteral("OK")},
        {QMessageBox::Cancel, QStringLiteral("Άκυρο")}};
    for (const auto& [which, caption] : greek)
        if (QAbstractButton* b = box.button(which))
            b->setText(caption);
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

void Messages::information(QWidget* parent, const QString& text) {
    if (scripted(Kind::Information, text))
        return;
    showBox(parent, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void Messages::error(QWidget* parent, const QString& text) {
    if (scripted(Kind::Error, text))
        return;
    showBox(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool Messages::question(QWidget* parent, const QString& text) {
    return question(parent, text, Default::Yes);
}

bool Messages::question(QWidget* parent, const QString& text, Default byDefault) {
    if (const auto answer = scripted(Kind::Question, text))
        return *answer;
    return showBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                   byDefault == Default::Yes ? QMessageBox::Yes : QMessageBox::No) ==
           QMessageBox::Yes;
}

bool Messages::confirm(QWidget* parent, const QString& text) {
    if (const auto answer = scripted(Kind::Confirm, text))
        return *answer;
    return showBox(parent, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel,
                   QMessageBox::Ok) == QMessageBox::Ok;
}

void Messages::setTestMode(bool on) {
    script().testMode = on;
}

bool Messages::isTestMode() {
    return script().testMode || bool(script().hook);
}

void Messages::setTestHook(Hook hook) {
    script().hook = std::move(hook);
}

void Messages::setNextAnswers(const QList<bool>& answers) {
    script().answers.append(answers);
}

const QList<Messages::Shown>& Messages::shown() {
    return script().shown;
}

QStringList Messages::shownTexts() {
    QStringList texts;
    for (const Shown& s : std::as_const(script().shown))
        texts << s.text;
    return texts;
}

void Messages::clearShown() {
    script().shown.clear();
    script().answers.clear();
}

// ---- Launcher ----

namespace {
struct LaunchScript {
    bool testMode = false;
    QStringList installed;
    QList<Launcher::Call> calls;
};

LaunchScript& launches() {
    static LaunchScript s;
    return s;
}

QString findProgram(const QString& candidate) {
    if (launches().testMode)
        return launches().installed.contains(candidate) ? candidate : QString();
    if (candidate.contains(u'/')) {
        const QFileInfo info(candidate);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(candidate);
}
} // namespace

bool Launcher::startDetached(const QStringList& candidates, const QStringList& arguments) {
    for (const QString& candidate : candidates) {
        const QString program = findProgram(candidate);
        if (program.isEmpty())
            continue;
        if (launches().testMode) {
            launches().calls.append({program, arguments, QUrl()});
            return true;
        }
        return QProcess::startDetached(program, arguments);
    }
    return false;
}

bool Launcher::openUrl(const QUrl& url) {
    if (launches().testMode) {
        launches().calls.append({QString(), QStringList(), url});
        return true;
    }
    return QDesktopServices::openUrl(url);
}

void Launcher::setTestMode(bool on, const QStringList& installed) {
    launches().testMode = on;
    launches().installed = installed;
}

bool Launcher::isTestMode() {
    return launches().testMode;
}

const QList<Launcher::Call>& Launcher::calls() {
    return launches().calls;
}

void Launcher::clearCalls() {
    launches().calls.clear();
}

// ---- Termination ----

namespace {
struct TerminationScript {
    bool testMode = false;
    int requests = 0;
};

TerminationScript& terminations() {
    static TerminationScript s;
    return s;
}
} // namespace

void Termination::terminate() {
    if (terminations().testMode) {
        ++terminations().requests;
        return;
    }
    // exit() rather than quit(): quit() would close the windows, and the main window asks
    // before it closes.
    QCoreApplication::exit(0);
}

void Termination::setTestMode(bool on) {
    terminations().testMode = on;
}

bool Termination::isTestMode() {
    return terminations().testMode;
}

int Termination::requests() {
    return terminations().requests;
}

void Termination::clearRequests() {
    terminations().requests = 0;
}
