#include "GridReader.h"

#include "ScreenFixture.h"

#include <QAbstractItemView>

QStringList gridRows(const QAbstractItemView& grid, const QList<int>& columns,
                     const QString& separator, bool skipEmpty) {
    const QAbstractItemModel* m = grid.model();
    QList<int> shown = columns;
    if (shown.isEmpty())
        for (int c = 0; c < m->columnCount(); ++c)
            shown << c;
    QStringList rows;
    for (int row = 0; row < m->rowCount(); ++row) {
        QStringList cells;
        for (int c : shown)
            if (const QString text = m->index(row, c).data().toString();
                !skipEmpty || !text.isEmpty())
                cells << text;
        rows << cells.join(separator);
    }
    return rows;
}

QStringList gridRows(const QObject& screen, const QString& grid, const QList<int>& columns,
                     const QString& separator, bool skipEmpty) {
    return gridRows(*child<QAbstractItemView>(screen, grid), columns, separator, skipEmpty);
}

QStringList gridColumn(const QObject& screen, const QString& grid, int column) {
    return gridRows(screen, grid, {column});
}
