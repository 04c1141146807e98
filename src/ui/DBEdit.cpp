#include "ui/DBEdit.h"

#include "ui/AmountText.h"
#include "ui/FieldLimit.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    // The limit's guard watches the text first, so that text it refuses never reaches the field.
    FieldLimit::set(this, FieldLimit::kNone);
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
    FieldLimit::set(this, f && f->size() > 0 ? f->size() : FieldLimit::kNone);
}

void DBEdit::setEditorText(const QString& t) {
    const FieldLimit::Showing showing;
    setText(t);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusLeft(event->reason());
}
