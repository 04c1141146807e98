#include "ui/TextFieldLink.h"

#include "ui/Guard.h"

#include <QWidget>

void TextFieldLink::setReadOnly(bool on) {
    m_readOnly = on;
    refresh();
}

QString TextFieldLink::shownText(const Field* f) const {
    return f ? f->displayText() : QString();
}

void TextFieldLink::refresh() {
    const Field* f = field();
    m_modified = false;
    m_refreshing = true;
    fieldShown(f);
    m_shown = shownText(f);
    if (editorText() != m_shown)
        setEditorText(m_shown);
    setEditorReadOnly(m_readOnly || !canEditField());
    m_refreshing = false;
}

void TextFieldLink::textTyped() {
    if (m_refreshing)
        return;
    DataSet* ds = dataSet();
    if (!ds || !ds->isEditing()) {
        // Starting to edit shows the row again; what was typed goes back on top.
        const QString typed = editorText();
        const int cursor = editorCursor();
        bool editing = false;
        runGuarded(editor(), [&] { editing = beginEdit(); });
        if (!editing) {
            refresh();
            return;
        }
        m_refreshing = true;
        if (editorText() != typed)
            setEditorText(typed);
        setEditorCursor(std::min(cursor, int(typed.size())));
        m_refreshing = false;
    }
    m_modified = true;
}

void TextFieldLink::writeTyped() {
    Field* f = field();
    if (!m_modified || !f || !f->dataSet()->isEditing())
        return;
    if (editorText() == m_shown) {
        // Typed back to what was shown: the value stays exactly as stored (an amount shown
        // rounded to two decimals is not rounded by being looked at).
        m_modified = false;
        return;
    }
    try {
        f->setText(editorText());
    } catch (...) {
        editor()->setFocus(Qt::OtherFocusReason);
        refused();
        throw;
    }
    m_modified = false;
}

void TextFieldLink::focusLeft(Qt::FocusReason reason) {
    // Switching windows or opening a menu is not leaving the control; neither is the screen
    // closing (an unposted row is dropped without a word).
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    if (!m_modified || !editor()->window()->isVisible())
        return;
    runGuarded(editor(), [this] { writeTyped(); });
}
