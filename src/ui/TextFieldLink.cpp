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
    const QString shown = shownText(f);
    if (editorText() != shown)
        setEditorText(shown);
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
