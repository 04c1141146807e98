#pragma once

#include "data/Connection.h"
#include "data/DataSet.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QVector>

// One column of a data grid as the screen lays it out.
struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft; // of the cells
    int width = 0;                           // pixels; 0 keeps the default
    int decimals = -1; // amounts: numbers shown with this many decimals ("62,50"); -1 as stored
};

// The rows of a data set as a table. Cells are read from the data set when the view asks,
// so a grid over any number of rows costs only what is on screen. The vertical header is the
// row indicator: a mark on the current row telling browsing, editing or inserting.
class DBGridModel : public QAbstractTableModel, public DataLink {
    Q_OBJECT
public:
    explicit DBGridModel(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    // No columns: every field of the data set, titled by its name.
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_shown; }
    void setTitlesBoldCentred(bool on);
    bool titlesBoldCentred() const { return m_titlesBoldCentred; }

    // The data set's current row as the model last heard of it; -1 for none.
    int currentRow() const { return m_current; }
    // The data set's field shown in a column; -1 when the data set has no such field.
    int fieldIndex(int column) const;

    static QString browseMark() { return QStringLiteral("\u25B6"); }
    static QString editMark() { return QStringLiteral("\u270E"); }
    static QString insertMark() { return QStringLiteral("*"); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The data set moved to another row, or its rows were reloaded.
    void currentRowChanged(int row);

protected:
    void activeChanged() override { reload(); }
    void dataSetChanged() override { reload(); }
    void recordChanged(const Field* f) override;
    void scrolled() override;
    void editingChanged() override;

private:
    void reload();
    bool reloadIfResized(); // true when the number of rows changed and the model was reset
    void resolveColumns();
    void rowChanged(int row, int column = -1);
    void indicatorChanged(int row);

    QList<GridColumn> m_configured;
    QList<GridColumn> m_shown;
    QVector<int> m_fieldIndex;
    int m_rows = 0;
    int m_current = -1;
    bool m_titlesBoldCentred = false;
};
