#include "ui/RvDataSetConnection.h"

#include "data/DataSet.h"
#include "data/UserError.h"

#include <stdexcept>

RvDataSetConnection::RvDataSetConnection(const QString& name, DataSet* dataSet, QObject* owner)
    : QObject(owner), m_dataSet(dataSet) {
    setObjectName(name);
}

ReportTable RvDataSetConnection::read() const {
    if (!m_dataSet)
        throw UserError(QStringLiteral("Η σύνδεση %1 δεν έχει δεδομένα.").arg(objectName()));
    DataSet& ds = *m_dataSet;
    if (!ds.isActive())
        ds.open();
    ReportTable table;
    table.name = objectName();
    for (const Field* f : ds.fields())
        table.columns.append(f->fieldName());
    const int rows = ds.rowCount();
    const int columns = ds.fieldCount();
    table.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(ds.cellText(r, c));
        table.rows.append(row);
    }
    return table;
}
