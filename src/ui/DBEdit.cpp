#include "ui/DBEdit.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    // Any change not made by showing the field is an edit: typing, pasting, undo, or text set
    // through the accessibility interface.
    connect(this, &QLineEdit::textChanged, this, [this] { textTyped(); });
    refresh();
}

void DBEdit::fieldShown(const Field* f) {
    const int width = f && f->size() > 0 ? f->size() : 32767;
    if (maxLength() != width)
        setMaxLength(width);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusLeft(event->reason());
}
