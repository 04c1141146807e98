#pragma once

#include "ui/TextFieldLink.h"

#include <QLineEdit>

// A one-line edit bound to a field of the current row; its length limit is the column's width,
// and it shows a stored text whole even when an older file holds a longer one.
class DBEdit : public QLineEdit, public TextFieldLink {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    using TextFieldLink::isReadOnly;
    using TextFieldLink::setReadOnly;
    // An amount: shown with this many decimals ("62,50") until typed into; -1 as stored.
    void setDecimals(int decimals);
    int decimals() const { return m_decimals; }

protected:
    QWidget* editor() override { return this; }
    QString editorText() const override { return text(); }
    void setEditorText(const QString& t) override;
    int editorCursor() const override { return cursorPosition(); }
    void setEditorCursor(int position) override { setCursorPosition(position); }
    void setEditorReadOnly(bool on) override { QLineEdit::setReadOnly(on); }
    QString shownText(const Field* f) const override;
    void fieldShown(const Field* f) override;
    void refused() override { selectAll(); }
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_decimals = -1;
};
