#include "ui/DBEdit.h"

#include "ui/Guard.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] { onTextEdited(); });
    refresh();
}

void DBEdit::setReadOnly(bool on) {
    m_readOnly = on;
    refresh();
}

void DBEdit::refresh() {
    const Field* f = field();
    m_modified = false;
    m_refreshing = true;
    const int width = f && f->size() > 0 ? f->size() : 32767;
    if (maxLength() != width)
        setMaxLength(width);
    const QString shown = f ? f->displayText() : QString();
    if (text() != shown)
        setText(shown);
    QLineEdit::setReadOnly(m_readOnly || !canEditField());
    m_refreshing = false;
}

void DBEdit::onTextEdited() {
    if (m_refreshing)
        return;
    DataSet* ds = dataSet();
    if (!ds || !ds->isEditing()) {
        // Starting to edit shows the row again; what was typed goes back on top.
        const QString typed = text();
        const int cursor = cursorPosition();
        bool editing = false;
        runGuarded(this, [&] { editing = beginEdit(); });
        if (!editing) {
            refresh();
            return;
        }
        m_refreshing = true;
        setText(typed);
        setCursorPosition(cursor);
        m_refreshing = false;
    }
    m_modified = true;
}

void DBEdit::writeTyped() {
    Field* f = field();
    if (!m_modified || !f || !f->dataSet()->isEditing())
        return;
    try {
        f->setText(text());
    } catch (...) {
        setFocus(Qt::OtherFocusReason);
        selectAll();
        throw;
    }
    m_modified = false;
}

void DBEdit::updateData() {
    writeTyped();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching windows or opening a menu is not leaving the edit; neither is the screen
    // closing (an unposted row is dropped without a word).
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!m_modified || !window()->isVisible())
        return;
    runGuarded(this, [this] { writeTyped(); });
}
