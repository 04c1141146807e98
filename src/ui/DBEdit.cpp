#include "ui/DBEdit.h"

#include "ui/AmountText.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    // Any change not made by showing the field is an edit: typing, pasting, undo, or text set
    // through the accessibility interface.
    connect(this, &QLineEdit::textChanged, this, [this] { textTyped(); });
    refresh();
}

void DBEdit::setDecimals(int decimals) {
    m_decimals = decimals;
    refresh();
}

QString DBEdit::shownText(const Field* f) const {
    if (f)
        if (const auto amount = amountText(f->value(), m_decimals))
            return *amount;
    return TextFieldLink::shownText(f);
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
