#pragma once

#include "ui/DBGridModel.h"
#include "ui/Spreadsheet.h"

#include <QStringList>
#include <QTableView>

class DataSource;
class QAction;
class QMenu;

// A read-only grid over a data set: whole rows selected (the selection stays visible when
// the grid has no focus), a row indicator, no editing in place. The selected row and the data
// set's current row follow each other; Delete or Ctrl+Delete asks before deleting the row.
// Its menu (right-click, the menu key or Shift+F10) copies the selected row or every row to
// the clipboard and exports the list to a CSV file, values as the grid shows them, or to an
// Excel workbook with typed cells.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_model->dataSource(); }
    void setColumns(const QList<GridColumn>& columns);
    void setTitlesBoldCentred(bool on) { m_model->setTitlesBoldCentred(on); }
    DBGridModel* gridModel() const { return m_model; }

    static QString deleteQuestion() { return QStringLiteral("Delete record?"); }

    QMenu* contextMenu() const { return m_menu; }
    // The column titles, then the rows in the grid's current order; the visible columns only.
    QList<QStringList> shownRows() const;
    void copySelectedRow();
    void copyAllRows();
    void exportCsv(); // asks for a file name, then writes
    void exportCsvTo(const QString& path);
    // "<window caption> <today>.csv"
    QString proposedCsvName() const;
    void exportExcel(); // asks for a file name, then writes
    void exportExcelTo(const QString& path);
    // "<window caption> <today>.xlsx"
    QString proposedExcelName() const;
    // The shown list as a sheet named after the window, each column of its kind.
    Spreadsheet::Sheet sheet() const;
    Spreadsheet::Kind columnKind(int column) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void changeEvent(QEvent* event) override;

private:
    void followDataSet(int row);
    void onCurrentRowChanged(const QModelIndex& current);
    bool moveDataSet(int row);
    void deleteCurrent();
    void applyWidths();
    void fitRowHeight();
    void buildMenu();
    void updateMenu();
    QList<int> shownColumns() const;
    QStringList rowTexts(int row, const QList<int>& columns) const;
    void showMenuAtCurrentRow();
    QString proposedName(const QString& suffix) const;

    DBGridModel* m_model;
    QMenu* m_menu = nullptr;
    QAction* m_copyRow = nullptr;
    QAction* m_copyAll = nullptr;
    QAction* m_exportCsv = nullptr;
    QAction* m_exportExcel = nullptr;
    bool m_following = false;
    bool m_scrollOnFollow = true;
};
