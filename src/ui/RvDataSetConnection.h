#pragma once

#include "report/ReportTemplate.h"

#include <QObject>
#include <QPointer>

#include "data/DataSet.h"

// Hands one data object of a screen to the report engine. Its object name is the name
// by which a report file finds the data ("RvDataSetConnection7").
class RvDataSetConnection : public QObject {
    Q_OBJECT
public:
    RvDataSetConnection(const QString& name, DataSet* dataSet, QObject* owner);

    DataSet* dataSet() const { return m_dataSet; }
    void setDataSet(DataSet* dataSet) { m_dataSet = dataSet; }

    // Every row as shown (dates d/M/yyyy, amounts as the query formats them); a closed
    // data object is opened first. The current row stays where it was.
    ReportTable read() const;

private:
    QPointer<DataSet> m_dataSet;
};
