#include "ui/Screen.h"

#include "ui/FieldLimit.h"
#include "ui/Guard.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>

Screen::Screen(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    QPalette p = palette();
    p.setColor(QPalette::Window, skyBlue());
    setPalette(p);
    setAutoFillBackground(true);
    setFont(screenFont());
}

QFont Screen::screenFont() {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(8);
    return f;
}

void Screen::makeValueLabel(QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
}

void Screen::makeRequiredMark(QLabel* label) {
    label->setText(QStringLiteral("*"));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
}

void Screen::setCancelButton(QAbstractButton* button) {
    m_cancelButton = button;
}

void Screen::setVisible(bool visible) {
    if (visible && !m_geometryFixed) {
        // The limits its designer file gave refuse what does not fit instead of cutting it.
        FieldLimit::guardChildren(this);
        fixGeometry();
    }
    QDialog::setVisible(visible);
}

void Screen::fixGeometry() {
    m_geometryFixed = true;
    // Without a default button of its own, a dialog makes its first button the default,
    // and on most screens that is the exit button: Enter in a field would close the screen
    // and drop what was being typed. Enter then answers only a button that has the focus.
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    if (std::none_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->isDefault(); }))
        for (QPushButton* b : buttons)
            b->setAutoDefault(false);
    ensurePolished();
    if (layout())
        layout()->activate();
    // The layout decides the size once; the screen is not resizable after that.
    setFixedSize(sizeHint().expandedTo(minimumSize()).expandedTo(minimumSizeHint()));
    QScreen* where = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (where)
        move(where->availableGeometry().center() - rect().center());
}

void Screen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised, not shown anew
    // A screen shown again would start where the last showing left the cursor; the work of
    // a new showing starts in the first input, as on the first showing.
    if (m_shownBefore)
        focusFirstInput();
    m_shownBefore = true;
    if (!m_keepShowErrors) {
        runGuarded(this, [this] { FormShow(); });
        return;
    }
    try {
        FormShow();
    } catch (...) {
        m_showFailure = std::current_exception();
        // Closed from the event loop: a modal loop that has not started yet would not end.
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
    }
}

void Screen::focusFirstInput() {
    // The same choice as Tab from nowhere: the first control in the tab order that takes
    // the focus by Tab and can be used now.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Screen::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (event->key() == Qt::Key_Escape && plain) {
        if (m_cancelButton && m_cancelButton->isVisibleTo(this) && m_cancelButton->isEnabled())
            m_cancelButton->click();
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && plain) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        if (focused && !focused->autoDefault() && focused->isEnabled()) {
            focused->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void Screen::done(int result) {
    bool mayClose = false;
    if (!runGuarded(this, [&] { mayClose = FormCloseQuery(); }) || !mayClose)
        return;
    runGuarded(this, [this] { FormClose(); });
    QDialog::done(result);
}
