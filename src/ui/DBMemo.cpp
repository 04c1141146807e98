#include "ui/DBMemo.h"

#include "ui/Guard.h"

#include <QFocusEvent>
#include <QTextCursor>

namespace {
// Memos written elsewhere may carry "\r\n"; the edit keeps bare line breaks.
QString memoText(const Field* f) {
    if (!f)
        return {};
    QString t = f->displayText();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}
} // namespace

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { onTextChanged(); });
    refresh();
}

void DBMemo::setReadOnly(bool on) {
    m_readOnly = on;
    refresh();
}

void DBMemo::refresh() {
    const Field* f = field();
    m_modified = false;
    m_refreshing = true;
    const QString shown = memoText(f);
    if (toPlainText() != shown)
        setPlainText(shown);
    QPlainTextEdit::setReadOnly(m_readOnly || !canEditField());
    m_refreshing = false;
}

void DBMemo::onTextChanged() {
    if (m_refreshing)
        return;
    DataSet* ds = dataSet();
    if (!ds || !ds->isEditing()) {
        const QString typed = toPlainText();
        const int cursor = textCursor().position();
        bool editing = false;
        runGuarded(this, [&] { editing = beginEdit(); });
        if (!editing) {
            refresh();
            return;
        }
        m_refreshing = true;
        if (toPlainText() != typed)
            setPlainText(typed);
        QTextCursor c = textCursor();
        c.setPosition(std::min(cursor, int(typed.size())));
        setTextCursor(c);
        m_refreshing = false;
    }
    m_modified = true;
}

void DBMemo::writeTyped() {
    Field* f = field();
    if (!m_modified || !f || !f->dataSet()->isEditing())
        return;
    try {
        f->setText(toPlainText());
    } catch (...) {
        setFocus(Qt::OtherFocusReason);
        throw;
    }
    m_modified = false;
}

void DBMemo::updateData() {
    writeTyped();
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!m_modified || !window()->isVisible())
        return;
    runGuarded(this, [this] { writeTyped(); });
}
