#include "ui/DBMemo.h"

#include <QFocusEvent>
#include <QTextCursor>
#include <QTextDocument>

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { textTyped(); });
    refresh();
}

QString DBMemo::editorText() const {
    // The plain text would turn no-break spaces into blanks; only the line breaks (between
    // paragraphs, or Shift+Enter within one) are given back as "\n".
    QString t = document()->toRawText();
    t.replace(QChar::ParagraphSeparator, u'\n');
    t.replace(QChar::LineSeparator, u'\n');
    return t;
}

QString DBMemo::shownText(const Field* f) const {
    // Memos written elsewhere may carry "\r\n"; the edit keeps bare line breaks.
    QString t = TextFieldLink::shownText(f);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

void DBMemo::setEditorCursor(int position) {
    QTextCursor c = textCursor();
    c.setPosition(position);
    setTextCursor(c);
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    focusLeft(event->reason());
}
