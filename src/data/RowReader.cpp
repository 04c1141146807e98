#include "RowReader.h"

#include "Store.h"
#include "UserError.h"

#include <algorithm>
#include <new>

namespace {

// Words outside quotes and brackets, upper-cased, for telling a plain one-table SELECT.
bool hasKeyword(const QString& sql, QStringView word) {
    QString current;
    auto flush = [&] {
        const bool hit = current.compare(word, Qt::CaseInsensitive) == 0;
        current.clear();
        return hit;
    };
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            if (flush())
                return true;
            const QChar close = c == u'[' ? u']' : c;
            ++i;
            while (i < sql.size() && sql[i] != close)
                ++i;
        } else if (c.isLetterOrNumber() || c == u'_') {
            current += c;
        } else if (flush()) {
            return true;
        }
    }
    return flush();
}

} // namespace

void Cells::resize(size_t n) {
    while (m_blocks.size() * kBlock < n)
        m_blocks.push_back(std::make_unique<QVariant[]>(kBlock));
    // Cells dropped block by block, each destroyed in place and left null: closing a large
    // result costs no more than freeing its values.
    for (size_t i = n; i < m_size;) {
        const size_t blockEnd = std::min(m_size, (i | kMask) + 1);
        QVariant* cell = m_blocks[i >> kShift].get() + (i & kMask);
        for (QVariant* const end = cell + (blockEnd - i); cell != end; ++cell) {
            cell->~QVariant();
            new (cell) QVariant();
        }
        i = blockEnd;
    }
    m_size = n;
}

void Cells::append(QVariant* row, int count) {
    const size_t at = m_size;
    resize(at + size_t(count));
    for (int i = 0; i < count; ++i)
        (*this)[at + size_t(i)] = std::move(row[i]);
}

RowReader::RowReader(StoreBackend& store, RowSource source, int maxRecords)
    : m_store(store), m_source(std::move(source)), m_maxRecords(maxRecords) {}

RowReader::~RowReader() = default;

RowSet RowReader::read(Cells recycled) {
    m_set.cells = std::move(recycled);
    m_set.cells.clear();
    prepare();
    decideEditable();
    describeColumns();
    readRows();
    m_cursor.reset();
    settleUnknownTypes();
    return std::move(m_set);
}

void RowReader::prepare() {
    m_cursor = m_store.prepare(m_source.sql);
    if (m_cursor->columnCount() == 0)
        throw UserError(QStringLiteral("Η εντολή δεν επιστρέφει εγγραφές."));
    m_set.table = m_source.table;
}

void RowReader::decideEditable() {
    if (!m_source.detectEditable)
        return;
    // Editable when every column comes straight from one table.
    const int n = m_cursor->columnCount();
    QString first;
    bool one = true;
    for (int i = 0; i < n && one; ++i) {
        const QString name = m_cursor->originTable(i);
        if (name.isEmpty() || (i > 0 && name != first))
            one = false;
        first = name;
    }
    for (const auto w : {u"GROUP", u"DISTINCT", u"UNION", u"JOIN", u"INTERSECT", u"EXCEPT"})
        if (one && hasKeyword(m_source.sql, w))
            one = false;
    const QString trimmed = m_source.sql.trimmed();
    if (!one || trimmed.left(6).compare(u"SELECT", Qt::CaseInsensitive) != 0)
        return;
    try {
        m_cursor = m_store.prepare(QStringLiteral("SELECT _rowid_, ") + trimmed.mid(6));
        m_set.table = first;
        m_source.hasRowId = true;
    } catch (const std::exception&) {
        // A view or a table without row ids: stays read-only.
    }
}

void RowReader::describeColumns() {
    const int offset = m_source.hasRowId ? 1 : 0;
    const int count = m_cursor->columnCount() - offset;
    m_set.columns.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        ColumnInfo& c = m_set.columns[size_t(i)];
        c.name = m_cursor->columnName(i + offset);
        c.origin = m_cursor->originColumn(i + offset);
        c.type = Values::typeFromDeclaration(m_cursor->declaredType(i + offset), &c.size);
        if (!m_set.table.isEmpty() && !c.origin.isEmpty() && c.type == FieldType::Integer &&
            m_store.isIntegerPrimaryKey(m_set.table, c.origin)) {
            c.type = FieldType::AutoInc; // the row id itself
            c.readOnly = true;
        }
        if (c.origin.isEmpty())
            c.readOnly = true;
    }
    m_set.editable = !m_set.table.isEmpty() && m_source.hasRowId;
}

void RowReader::readRows() {
    const bool ids = m_source.hasRowId;
    const int offset = ids ? 1 : 0;
    const int columns = int(m_set.columns.size());
    std::vector<FieldType> types;
    types.reserve(size_t(columns));
    for (const ColumnInfo& c : m_set.columns)
        types.push_back(c.type);
    std::vector<QVariant> row(static_cast<size_t>(columns));
    std::vector<qint64>& rowIds = m_set.rowIds;
    int rows = 0;
    while ((m_maxRecords <= 0 || rows < m_maxRecords) && m_cursor->next()) {
        rowIds.push_back(ids ? m_cursor->integer(0) : -1);
        m_cursor->readRow(offset, columns, types.data(), row.data());
        m_set.cells.append(row.data(), columns);
        ++rows;
    }
}

void RowReader::settleUnknownTypes() {
    const size_t columns = m_set.columns.size();
    const size_t rows = m_set.rowIds.size();
    for (size_t i = 0; i < columns; ++i) {
        ColumnInfo& c = m_set.columns[i];
        if (c.type != FieldType::Unknown)
            continue;
        c.type = FieldType::Text;
        for (size_t r = 0; r < rows; ++r) {
            const QVariant& v = m_set.cells[r * columns + i];
            if (v.isNull())
                continue;
            if (v.typeId() == QMetaType::LongLong)
                c.type = FieldType::Integer;
            else if (v.typeId() == QMetaType::Double)
                c.type = FieldType::Double;
            break;
        }
    }
}
