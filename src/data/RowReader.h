#pragma once

#include "Values.h"

#include <QString>
#include <QVariant>

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

// Cells, row after row, in blocks of a fixed size: a large result grows without moving what
// was read, and its blocks, small enough for the heap, are reused by the next reading rather
// than mapped afresh page by page.
class Cells {
public:
    QVariant& operator[](size_t i) { return m_blocks[i >> kShift][i & kMask]; }
    const QVariant& operator[](size_t i) const { return m_blocks[i >> kShift][i & kMask]; }
    size_t size() const { return m_size; }
    // Drops the cells and keeps the blocks, for the next reading.
    void clear() { resize(0); }
    // New cells are null.
    void resize(size_t n);
    // Moves a row's cells to the end.
    void append(QVariant* row, int count);

private:
    static constexpr int kShift = 11;
    static constexpr size_t kBlock = size_t(1) << kShift;
    static constexpr size_t kMask = kBlock - 1;
    std::vector<std::unique_ptr<QVariant[]>> m_blocks;
    size_t m_size = 0;
};

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
    // The blocks of cells read before may be handed in for reuse.
    RowSet read(Cells recycled = Cells());

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
