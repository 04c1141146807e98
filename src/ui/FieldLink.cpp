#include "ui/FieldLink.h"

void FieldLink::setDataField(const QString& name) {
    m_fieldName = name;
    refresh();
}

void FieldLink::setDataSource(DataSource* source) {
    DataLink::setDataSource(source);
    refresh();
}

Field* FieldLink::field() const {
    DataSet* ds = dataSet();
    if (!ds || !ds->isActive() || m_fieldName.isEmpty())
        return nullptr;
    return ds->findField(m_fieldName);
}

bool FieldLink::canEditField() const {
    const Field* f = field();
    if (!f || f->isReadOnly() || !f->dataSet()->canModify())
        return false;
    return f->dataSet()->isEditing() || dataSource()->autoEdit();
}

bool FieldLink::beginEdit() {
    if (!canEditField())
        return false;
    DataSet* ds = dataSet();
    if (!ds->isEditing())
        ds->edit();
    return ds->isEditing();
}

void FieldLink::recordChanged(const Field* f) {
    if (!f || f == field())
        refresh();
}
