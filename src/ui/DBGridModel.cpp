#include "ui/DBGridModel.h"

#include "ui/AmountText.h"

#include <QFont>

DBGridModel::DBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DBGridModel::setDataSource(DataSource* source) {
    DataLink::setDataSource(source);
    reload();
}

void DBGridModel::setColumns(const QList<GridColumn>& columns) {
    m_configured = columns;
    reload();
}

void DBGridModel::setTitlesBoldCentred(bool on) {
    m_titlesBoldCentred = on;
    if (!m_shown.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_shown.size()) - 1);
}

int DBGridModel::fieldIndex(int column) const {
    return column >= 0 && column < m_fieldIndex.size() ? m_fieldIndex[column] : -1;
}

void DBGridModel::resolveColumns() {
    const DataSet* ds = dataSet();
    const bool active = ds && ds->isActive();
    m_shown = m_configured;
    if (m_shown.isEmpty() && active)
        for (const Field* f : ds->fields())
            m_shown.append({f->fieldName(), f->fieldName(), Qt::AlignLeft, 0});
    m_fieldIndex.clear();
    for (const GridColumn& c : std::as_const(m_shown)) {
        const Field* f = active ? ds->findField(c.field) : nullptr;
        m_fieldIndex.append(f ? f->index() : -1);
    }
}

void DBGridModel::reload() {
    beginResetModel();
    const DataSet* ds = dataSet();
    const bool active = ds && ds->isActive();
    resolveColumns();
    m_rows = active ? ds->rowCount() : 0;
    m_current = active ? ds->currentRow() : -1;
    endResetModel();
    emit currentRowChanged(m_current);
}

bool DBGridModel::reloadIfResized() {
    const DataSet* ds = dataSet();
    const int rows = ds && ds->isActive() ? ds->rowCount() : 0;
    if (rows == m_rows)
        return false;
    reload();
    return true;
}

void DBGridModel::rowChanged(int row, int column) {
    if (row < 0 || row >= m_rows || m_shown.isEmpty())
        return;
    const int first = column >= 0 ? column : 0;
    const int last = column >= 0 ? column : int(m_shown.size()) - 1;
    emit dataChanged(index(row, first), index(row, last));
}

void DBGridModel::indicatorChanged(int row) {
    if (row >= 0 && row < m_rows)
        emit headerDataChanged(Qt::Vertical, row, row);
}

void DBGridModel::recordChanged(const Field* f) {
    if (reloadIfResized())
        return;
    const int column = f ? int(m_fieldIndex.indexOf(f->index())) : -1;
    if (f && column < 0)
        return; // a field the grid does not show
    rowChanged(m_current, column);
    indicatorChanged(m_current);
}

void DBGridModel::scrolled() {
    if (reloadIfResized())
        return;
    const int old = m_current;
    m_current = dataSet()->currentRow();
    indicatorChanged(old);
    indicatorChanged(m_current);
    emit currentRowChanged(m_current);
}

void DBGridModel::editingChanged() {
    if (reloadIfResized())
        return;
    // Entering or leaving editing changes the mark, and a cancelled edit shows the old values.
    rowChanged(m_current);
    indicatorChanged(m_current);
}

int DBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_shown.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const DataSet* ds = dataSet();
        const int f = m_fieldIndex[index.column()];
        if (!ds || f < 0)
            return QString();
        if (const auto amount =
                amountText(ds->cell(index.row(), f), m_shown[index.column()].decimals))
            return *amount;
        return ds->cellText(index.row(), f);
    }
    case Qt::TextAlignmentRole:
        return int(m_shown[index.column()].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_shown.size())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return m_shown[section].title;
        case Qt::TextAlignmentRole:
            return int(m_titlesBoldCentred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::FontRole:
            if (m_titlesBoldCentred) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        default:
            return {};
        }
    }
    if (section < 0 || section >= m_rows)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (section != m_current)
        return QString();
    const DataSet* ds = dataSet();
    if (!ds)
        return QString();
    switch (ds->state()) {
    case DataSet::State::Edit:
        return editMark();
    case DataSet::State::Insert:
        return insertMark();
    default:
        return browseMark();
    }
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
