#pragma once

#include "ui/FieldLink.h"

#include <QLineEdit>

// A one-line edit bound to a field of the current row. Typing puts the row into editing;
// the text is written into the field when the edit is left and when the row is posted.
// Text the field refuses (a date that is no date) stays in the edit, with the row still in
// editing, and the edit takes the focus back.
class DBEdit : public QLineEdit, public FieldLink {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    // Read-only by choice; the edit is also read-only while the field cannot be edited.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    // True while typed text waits to be written into the field.
    bool isModified() const { return m_modified; }

protected:
    void refresh() override;
    void updateData() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextEdited();
    void writeTyped(); // throws InputError and keeps the text

    bool m_readOnly = false;
    bool m_modified = false;
    bool m_refreshing = false;
};
