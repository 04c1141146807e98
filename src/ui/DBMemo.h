#pragma once

#include "ui/FieldLink.h"

#include <QPlainTextEdit>

// A multi-line text bound to a field of the current row, with a vertical scroll bar; the
// same contract as DBEdit. Tab moves on to the next control.
class DBMemo : public QPlainTextEdit, public FieldLink {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    bool isModified() const { return m_modified; }

protected:
    void refresh() override;
    void updateData() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextChanged();
    void writeTyped();

    bool m_readOnly = false;
    bool m_modified = false;
    bool m_refreshing = false;
};
