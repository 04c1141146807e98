#pragma once

#include "ui/TextFieldLink.h"

#include <QPlainTextEdit>

// A multi-line text bound to a field of the current row, with a vertical scroll bar; the
// same contract as DBEdit. Tab moves on to the next control.
class DBMemo : public QPlainTextEdit, public TextFieldLink {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);
    using TextFieldLink::isReadOnly;
    using TextFieldLink::setReadOnly;

protected:
    QWidget* editor() override { return this; }
    QString editorText() const override;
    void setEditorText(const QString& t) override { setPlainText(t); }
    int editorCursor() const override { return textCursor().position(); }
    void setEditorCursor(int position) override;
    void setEditorReadOnly(bool on) override { QPlainTextEdit::setReadOnly(on); }
    QString shownText(const Field* f) const override;
    void focusOutEvent(QFocusEvent* event) override;
};
