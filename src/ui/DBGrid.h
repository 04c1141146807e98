#pragma once

#include "ui/DBGridModel.h"

#include <QTableView>

class DataSource;

// A read-only grid over a data set: whole rows selected (the selection stays visible when
// the grid has no focus), a row indicator, no editing in place. The selected row and the data
// set's current row follow each other; Delete or Ctrl+Delete asks before deleting the row.
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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void changeEvent(QEvent* event) override;

private:
    void followDataSet(int row);
    void onCurrentRowChanged(const QModelIndex& current);
    bool moveDataSet(int row);
    void deleteCurrent();
    void applyWidths();
    void fitRowHeight();

    DBGridModel* m_model;
    bool m_following = false;
    bool m_scrollOnFollow = true;
};
