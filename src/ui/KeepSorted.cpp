#include "ui/KeepSorted.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <QMetaObject>
#include <QPointer>

#include <vector>

namespace {

std::vector<QVariant> currentCells(const DataSet& ds) {
    std::vector<QVariant> cells;
    for (int c = 0; c < ds.fieldCount(); ++c)
        cells.push_back(ds.cell(ds.currentRow(), c));
    return cells;
}

void sortAgain(DataSet& ds) {
    // A row being edited again is sorted when it is saved.
    if (!ds.isActive() || ds.isEditing() || ds.sort().isEmpty() || ds.currentRow() < 0)
        return;
    // Rows alike in every column are alike to the person too: any of them will do.
    const std::vector<QVariant> current = currentCells(ds);
    ds.setSort(ds.sort());
    for (int row = 0; row < ds.rowCount(); ++row) {
        bool same = true;
        for (int c = 0; c < ds.fieldCount() && same; ++c)
            same = ds.cell(row, c) == current[size_t(c)];
        if (same) {
            ds.moveTo(row);
            return;
        }
    }
}

} // namespace

void keepSorted(DataSet* dataSet) {
    QObject::connect(dataSet, &DataSet::afterPost, dataSet, [dataSet] {
        QMetaObject::invokeMethod(
            dataSet,
            [ds = QPointer<DataSet>(dataSet)] {
                if (ds)
                    runGuarded(nullptr, [&] { sortAgain(*ds); });
            },
            Qt::QueuedConnection);
    });
}
