#pragma once

#include "data/Connection.h"
#include "data/DataSet.h"

#include <QString>

// The part shared by the controls bound to one field of the current row. Whatever the data
// set reports (opened, closed, scrolled, reloaded, edited, posted) makes the control drop
// what was typed and show the field again; only a change to another field leaves it alone.
class FieldLink : public DataLink {
public:
    QString dataField() const { return m_fieldName; }
    void setDataField(const QString& name);
    void setDataSource(DataSource* source); // also shows the field at once

    // The bound field of the open data set; null while closed or when there is no such field.
    Field* field() const;
    // True when typing may change the field now (the row is in editing) or by starting to
    // edit it (autoEdit).
    bool canEditField() const;

protected:
    // Puts the row into editing the way typing does; false when it may not be edited.
    // Store errors are thrown.
    bool beginEdit();
    // Shows the field's current value and forgets anything typed.
    virtual void refresh() = 0;

    void activeChanged() override { refresh(); }
    void dataSetChanged() override { refresh(); }
    void recordChanged(const Field* f) override;
    void scrolled() override { refresh(); }
    void editingChanged() override { refresh(); }

private:
    QString m_fieldName;
};
