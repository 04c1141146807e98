#pragma once

#include "ui/FieldLink.h"

#include <Qt>

class QWidget;

// What a one-line edit and a memo share: typing puts the row into editing, the typed text is
// written into the field when the control is left and when the row is posted, and text the
// field refuses (a date that is no date) stays on show with the row still in editing while
// the control takes the focus back.
class TextFieldLink : public FieldLink {
public:
    // Read-only by choice; the control is also read-only while the field cannot be edited.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    // True while typed text waits to be written into the field.
    bool isModified() const { return m_modified; }

protected:
    // The control's own text, cursor and read-only state.
    virtual QWidget* editor() = 0;
    virtual QString editorText() const = 0;
    virtual void setEditorText(const QString& text) = 0;
    virtual int editorCursor() const = 0;
    virtual void setEditorCursor(int position) = 0;
    virtual void setEditorReadOnly(bool on) = 0;
    // What the control shows for the field; called with the field about to be shown.
    virtual QString shownText(const Field* f) const;
    virtual void fieldShown(const Field* /*f*/) {}
    virtual void refused() {}

    void refresh() override;
    void updateData() override { writeTyped(); }

    // The control calls these from its change signal and its focus-out event.
    void textTyped();
    void focusLeft(Qt::FocusReason reason);

private:
    void writeTyped(); // throws InputError and keeps the text

    QString m_shown; // the field's text as last shown
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_refreshing = false;
};
