#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAbstractItemView;

// A grid's shown rows as text, top to bottom: each row's cells of `columns` (every column
// when empty) joined by `separator`; with `skipEmpty`, blank cells are left out.
QStringList gridRows(const QAbstractItemView& grid, const QList<int>& columns = {},
                     const QString& separator = QStringLiteral(" "), bool skipEmpty = false);
// The same for a screen's grid by its name.
QStringList gridRows(const QObject& screen, const QString& grid = QStringLiteral("DBGrid1"),
                     const QList<int>& columns = {}, const QString& separator = QStringLiteral(" "),
                     bool skipEmpty = false);

// The texts of one column of a screen's grid, top to bottom.
QStringList gridColumn(const QObject& screen, const QString& grid = QStringLiteral("DBGrid1"),
                       int column = 0);
