#pragma once

#include "Values.h"

#include <QString>
#include <QVariant>

#include <deque>
#include <memory>
#include <vector>

class StoreBackend;
class StoreCursor;

// What a data object reads: the statement in the store's own dialect, and the table that
// writes go to (empty: read-only).
struct RowSource {
    QString sql;
    QString table;
    bool hasRowId = false;       // the first result column is the row's id
    bool detectEditable = false; // find out from the result whether one table lies behind it
};

// One result column as a data object describes it.
struct ColumnInfo {
    QString name;
    QString origin; // column of the base table behind it, for writes
    FieldType type = FieldType::Unknown;
    int size = 0;
    bool readOnly = false;
};

// Rows of cells, row after row. Grown in blocks: a result of a hundred thousand rows is never
// moved to a larger buffer while it is read.
using Cells = std::deque<QVariant>;

// A whole result, read at once.
struct RowSet {
    std::vector<ColumnInfo> columns;
    QString table; // writes go here; empty when read-only
    bool editable = false;
    Cells cells;                // row after row, columns.size() each
    std::vector<qint64> rowIds; // per row, -1 without ids
    int rowCount() const { return int(rowIds.size()); }
};

// Reads a statement's rows for a data object: prepares it, decides whether it can be written
// (a plain SELECT of one table is read again with the row ids), describes the columns, reads
// every row and gives the columns of unknown type the type of their first value.
class RowReader {
public:
    RowReader(StoreBackend& store, RowSource source, int maxRecords = 0);
    ~RowReader();
    RowSet read();

private:
    void prepare();
    void decideEditable();
    void describeColumns();
    void readRows();
    void settleUnknownTypes();

    StoreBackend& m_store;
    RowSource m_source;
    int m_maxRecords;
    std::unique_ptr<StoreCursor> m_cursor;
    RowSet m_set;
};
