#include "ui/DBEdit.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] { textTyped(); });
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
