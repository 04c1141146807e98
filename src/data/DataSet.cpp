#include "DataSet.h"

#include "Connection.h"
#include "GreekText.h"
#include "Store.h"
#include "UserError.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& message) {
    throw UserError(message);
}

QString quoted(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

int compareValues(FieldType type, const QVariant& a, const QVariant& b) {
    const bool na = !a.isValid() || a.isNull(), nb = !b.isValid() || b.isNull();
    if (na || nb)
        return na == nb ? 0 : na ? -1 : 1; // blanks first
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Double:
    case FieldType::Boolean: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case FieldType::Date:
        if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate)
            return a.toDate() < b.toDate() ? -1 : a.toDate() > b.toDate() ? 1 : 0;
        return a.toString().compare(b.toString());
    default:
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
            return GreekText::compare(*static_cast<const QString*>(a.constData()),
                                      *static_cast<const QString*>(b.constData()));
        if (a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString) {
            const double x = a.toDouble(), y = b.toDouble();
            return x < y ? -1 : x > y ? 1 : 0;
        }
        return GreekText::compare(a.toString(), b.toString());
    }
}

} // namespace

// ---- Field ----

QVariant Field::value() const {
    return m_dataSet->currentValue(m_index);
}

void Field::setValue(const QVariant& v) {
    m_dataSet->setFieldValue(m_index, v);
}

bool Field::isNull() const {
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

QString Field::displayText() const {
    return Values::displayText(m_type, value());
}

void Field::setText(const QString& typed) {
    setValue(
        Values::fromText(m_type == FieldType::Unknown ? FieldType::Text : m_type, typed, m_size));
}

// ---- DataLink / DataSource ----

DataLink::~DataLink() {
    setDataSource(nullptr);
}

void DataLink::setDataSource(DataSource* source) {
    if (m_source == source)
        return;
    if (m_source)
        m_source->m_links.removeAll(this);
    m_source = source;
    if (m_source)
        m_source->m_links.append(this);
    activeChanged();
}

DataSet* DataLink::dataSet() const {
    return m_source ? m_source->dataSet() : nullptr;
}

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() {
    setDataSet(nullptr);
    for (DataLink* l : std::as_const(m_links))
        l->m_source = nullptr;
}

void DataSource::setAutoEdit(bool on) {
    if (m_autoEdit == on)
        return;
    m_autoEdit = on;
    // Controls decide from it whether typing is allowed.
    for (DataLink* l : QList<DataLink*>(m_links))
        l->editingChanged();
}

void DataSource::setDataSet(DataSet* ds) {
    if (m_dataSet == ds)
        return;
    if (m_dataSet)
        m_dataSet->m_sources.removeAll(this);
    m_dataSet = ds;
    if (ds)
        ds->m_sources.append(this);
    for (DataLink* l : QList<DataLink*>(m_links))
        l->activeChanged();
}

// ---- DataSet ----

DataSet::DataSet(QObject* parent) : QObject(parent) {}

DataSet::~DataSet() {
    // Bound controls must let go of our fields before they are freed.
    const QList<DataSource*> sources = m_sources;
    m_sources.clear();
    for (DataSource* s : sources) {
        s->m_dataSet = nullptr;
        for (DataLink* l : QList<DataLink*>(s->m_links))
            l->activeChanged();
    }
}

void DataSet::setConnection(Connection* c) {
    if (m_connection == c)
        return;
    close();
    QObject::disconnect(m_closeHook);
    m_connection = c;
    if (c)
        m_closeHook = QObject::connect(c, &Connection::aboutToClose, this, [this] { close(); });
}

void DataSet::notify(const std::function<void(DataLink*)>& f) {
    for (DataSource* s : QList<DataSource*>(m_sources))
        for (DataLink* l : QList<DataLink*>(s->m_links))
            f(l);
}

void DataSet::requireActive() const {
    if (!isActive())
        fail(QStringLiteral("Τα δεδομένα δεν είναι ανοιχτά."));
}

void DataSet::requireEditable() const {
    if (!m_editable)
        fail(QStringLiteral("Τα δεδομένα αυτά είναι μόνο για ανάγνωση."));
}

void DataSet::open() {
    if (isActive())
        return;
    if (!m_connection)
        fail(QStringLiteral("Δεν έχει οριστεί σύνδεση με τη βάση δεδομένων."));
    m_connection->open();
    RowSet set =
        RowReader(m_connection->store(), prepareSource(), m_maxRecords).read(std::move(m_cells));

    m_columns = int(set.columns.size());
    m_fields.clear();
    m_fieldList.clear();
    for (int i = 0; i < m_columns; ++i) {
        ColumnInfo& c = set.columns[size_t(i)];
        auto f = std::make_unique<Field>();
        f->m_dataSet = this;
        f->m_index = i;
        f->m_name = std::move(c.name);
        f->m_origin = std::move(c.origin);
        f->m_type = c.type;
        f->m_size = c.size;
        f->m_readOnly = c.readOnly;
        m_fieldList.append(f.get());
        m_fields.push_back(std::move(f));
    }
    const int rows = set.rowCount();
    m_cells = std::move(set.cells);
    m_rowIds = std::move(set.rowIds);
    m_order.resize(size_t(rows));
    std::iota(m_order.begin(), m_order.end(), 0);

    m_table = set.table;
    m_editable = set.editable;
    m_buffer.assign(m_columns, QVariant());
    m_modified.assign(m_columns, false);
    m_insertPhysical = -1;
    m_sort.clear();
    m_state = State::Browse;
    m_current = rows > 0 ? 0 : -1;
    m_bof = true;
    m_eof = rows == 0;
    notify([](DataLink* l) { l->activeChanged(); });
    emit stateChanged();
    emit afterOpen();
    emit afterScroll();
}

void DataSet::close() {
    if (!isActive())
        return;
    m_state = State::Inactive;
    m_cells.clear();
    m_rowIds.clear();
    m_order.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_insertPhysical = -1;
    m_sort.clear();
    notify([](DataLink* l) { l->activeChanged(); });
    emit stateChanged();
    emit afterClose();
}

void DataSet::refresh() {
    requireActive();
    checkBrowseMode();
    const QString sortText = m_sort;
    const int row = m_current;
    close();
    open();
    if (!sortText.isEmpty())
        setSort(sortText);
    if (row > 0)
        moveTo(row);
}

int DataSet::recordCount() const {
    return int(m_order.size()) - (m_insertPhysical >= 0 ? 1 : 0);
}

Field* DataSet::findField(const QString& name) const {
    for (Field* f : m_fieldList)
        if (f->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

Field* DataSet::fieldByName(const QString& name) const {
    if (Field* f = findField(name))
        return f;
    fail(QStringLiteral("Το πεδίο '%1' δεν βρέθηκε.").arg(name));
}

QVariant DataSet::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    if (row == m_current && isEditing())
        return m_buffer[column];
    return m_cells[size_t(m_order[row]) * m_columns + column];
}

QString DataSet::cellText(int row, int column) const {
    if (column < 0 || column >= m_columns)
        return {};
    return Values::displayText(m_fieldList[column]->m_type, cell(row, column));
}

QVariant DataSet::currentValue(int index) const {
    if (m_current < 0)
        return {};
    return cell(m_current, index);
}

void DataSet::setState(State s) {
    if (m_state == s)
        return;
    m_state = s;
    notify([](DataLink* l) { l->editingChanged(); });
    emit stateChanged();
}

void DataSet::setCurrent(int row, bool notifyLinks) {
    m_current = row;
    if (notifyLinks) {
        notify([](DataLink* l) { l->scrolled(); });
        emit afterScroll();
    }
}

void DataSet::moveTo(int row) {
    requireActive();
    if (rowCount() == 0)
        return;
    row = std::clamp(row, 0, rowCount() - 1);
    if (row == m_current) {
        m_bof = m_eof = false;
        return;
    }
    if (isEditing()) {
        const int before = rowCount();
        const int at = m_current;
        checkBrowseMode();
        if (rowCount() < before && row > at)
            --row; // the untouched new row above the target is gone
        if (rowCount() == 0)
            return;
        row = std::clamp(row, 0, rowCount() - 1);
    }
    m_bof = m_eof = false;
    if (row >= 0)
        setCurrent(row);
}

void DataSet::checkBrowseMode() {
    if (!isEditing())
        return;
    updateRecord();
    if (std::find(m_modified.begin(), m_modified.end(), true) != m_modified.end())
        post();
    else
        cancel();
}

// First and Last leave a row being edited even when they land on that same row.
void DataSet::first() {
    requireActive();
    checkBrowseMode();
    moveTo(0);
    m_bof = true;
}

void DataSet::last() {
    requireActive();
    checkBrowseMode();
    moveTo(rowCount() - 1);
    m_eof = true;
}

void DataSet::next() {
    requireActive();
    if (m_current >= rowCount() - 1) {
        checkBrowseMode();
        m_eof = true;
        return;
    }
    moveTo(m_current + 1);
}

void DataSet::prior() {
    requireActive();
    if (m_current <= 0) {
        checkBrowseMode();
        m_bof = true;
        return;
    }
    moveTo(m_current - 1);
}

void DataSet::edit() {
    requireActive();
    if (isEditing())
        return;
    if (rowCount() == 0) {
        insert();
        return;
    }
    requireEditable();
    const size_t base = size_t(m_order[m_current]) * m_columns;
    for (int c = 0; c < m_columns; ++c)
        m_buffer[c] = m_cells[base + c];
    std::fill(m_modified.begin(), m_modified.end(), false);
    setState(State::Edit);
    emit afterEdit();
}

void DataSet::startInsert(int at) {
    requireActive();
    checkBrowseMode();
    requireEditable();
    at = std::clamp(at, 0, rowCount());
    const int physical = int(m_rowIds.size());
    m_rowIds.push_back(-1);
    m_cells.resize(m_cells.size() + m_columns);
    m_order.insert(m_order.begin() + at, physical);
    m_insertPhysical = physical;
    std::fill(m_buffer.begin(), m_buffer.end(), QVariant());
    std::fill(m_modified.begin(), m_modified.end(), false);
    m_current = at;
    m_bof = m_eof = false;
    m_state = State::Insert;
    notify([](DataLink* l) { l->dataSetChanged(); });
    notify([](DataLink* l) { l->editingChanged(); });
    emit stateChanged();
    emit afterInsert();
}

void DataSet::insert() {
    startInsert(m_current < 0 ? 0 : m_current);
}

void DataSet::append() {
    startInsert(rowCount());
}

void DataSet::setFieldValue(int index, const QVariant& v) {
    if (!isEditing())
        fail(QStringLiteral("Η εγγραφή δεν είναι σε κατάσταση επεξεργασίας."));
    Field* f = m_fieldList.at(index);
    if (f->m_readOnly)
        fail(QStringLiteral("Το πεδίο '%1' δεν μπορεί να αλλάξει.").arg(f->m_name));
    if (f->m_type == FieldType::Text && f->m_size > 0 && v.typeId() == QMetaType::QString &&
        v.toString().size() > f->m_size)
        throw InputError(
            QStringLiteral("Το κείμενο είναι μεγαλύτερο από %1 χαρακτήρες.").arg(f->m_size));
    m_buffer[index] = v;
    m_modified[index] = true;
    notify([f](DataLink* l) { l->recordChanged(f); });
}

void DataSet::updateRecord() {
    notify([](DataLink* l) { l->updateData(); });
}

void DataSet::post() {
    requireActive();
    if (!isEditing())
        return;
    updateRecord();
    if (beforePost)
        beforePost(*this);
    writeRow();
    std::fill(m_modified.begin(), m_modified.end(), false);
    setState(State::Browse);
    notify([](DataLink* l) { l->recordChanged(nullptr); });
    emit afterPost();
}

void DataSet::writeRow() {
    StoreBackend& store = m_connection->store();
    const int physical = m_order[m_current];
    QStringList names;
    QList<QVariant> values;
    for (int c = 0; c < m_columns; ++c) {
        const Field* f = m_fieldList[c];
        if (!m_modified[c] || f->m_readOnly)
            continue;
        names << quoted(f->m_origin);
        values << Values::toStorage(f->m_type, m_buffer[c]);
    }
    if (m_state == State::Insert) {
        QString sql = QStringLiteral("INSERT INTO ") + quoted(m_table);
        if (names.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            sql += QStringLiteral(" (") + names.join(u',') + QStringLiteral(") VALUES (") +
                   QStringList(QList<QString>(names.size(), QStringLiteral("?"))).join(u',') +
                   QLatin1Char(')');
        }
        const auto st = store.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            st->bind(i + 1, values[i]);
        st->run();
        m_rowIds[physical] = store.lastInsertId();
        m_insertPhysical = -1;
    } else {
        if (names.isEmpty())
            return;
        QStringList sets;
        for (const QString& n : std::as_const(names))
            sets << n + QStringLiteral("=?");
        const auto st =
            store.prepare(QStringLiteral("UPDATE ") + quoted(m_table) + QStringLiteral(" SET ") +
                          sets.join(u',') + QStringLiteral(" WHERE _rowid_=?"));
        for (int i = 0; i < values.size(); ++i)
            st->bind(i + 1, values[i]);
        st->bind(int(values.size()) + 1, qlonglong(m_rowIds[physical]));
        st->run();
        if (store.changes() == 0)
            fail(QStringLiteral("Η εγγραφή δεν βρέθηκε για να αποθηκευτεί· "
                                "ίσως διαγράφηκε στο μεταξύ."));
    }
    const size_t base = size_t(physical) * m_columns;
    for (int c = 0; c < m_columns; ++c)
        m_cells[base + c] = m_buffer[c];
    reloadRow(physical);
}

void DataSet::reloadRow(int physical) {
    // Read back what the store kept: defaults, the new number, converted values.
    QStringList cols;
    QList<int> index;
    for (const Field* f : std::as_const(m_fieldList)) {
        if (f->m_origin.isEmpty())
            continue;
        cols << quoted(f->m_origin);
        index << f->m_index;
    }
    if (cols.isEmpty())
        return;
    const auto st = m_connection->store().prepare(QStringLiteral("SELECT ") + cols.join(u',') +
                                                  QStringLiteral(" FROM ") + quoted(m_table) +
                                                  QStringLiteral(" WHERE _rowid_=?"));
    st->bind(1, qlonglong(m_rowIds[physical]));
    if (!st->next())
        return;
    const size_t base = size_t(physical) * m_columns;
    for (int i = 0; i < index.size(); ++i)
        m_cells[base + index[i]] = st->value(i, m_fieldList[index[i]]->m_type);
}

void DataSet::dropPendingInsert() {
    const auto it = std::find(m_order.begin(), m_order.end(), m_insertPhysical);
    if (it != m_order.end())
        m_order.erase(it);
    m_insertPhysical = -1;
    if (m_current >= rowCount())
        m_current = rowCount() - 1;
}

void DataSet::cancel() {
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    if (wasInsert)
        dropPendingInsert();
    std::fill(m_modified.begin(), m_modified.end(), false);
    setState(State::Browse);
    if (wasInsert)
        notify([](DataLink* l) { l->dataSetChanged(); });
    else
        notify([](DataLink* l) { l->recordChanged(nullptr); });
    emit afterCancel();
    if (wasInsert)
        emit afterScroll();
}

void DataSet::deleteRecord() {
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (rowCount() == 0)
        fail(QStringLiteral("Δεν υπάρχει εγγραφή για διαγραφή."));
    requireEditable();
    if (m_state == State::Edit) {
        std::fill(m_modified.begin(), m_modified.end(), false);
        setState(State::Browse);
    }
    const int physical = m_order[m_current];
    const auto st = m_connection->store().prepare(QStringLiteral("DELETE FROM ") + quoted(m_table) +
                                                  QStringLiteral(" WHERE _rowid_=?"));
    st->bind(1, qlonglong(m_rowIds[physical]));
    st->run();
    m_order.erase(m_order.begin() + m_current);
    if (m_current >= rowCount())
        m_current = rowCount() - 1;
    m_eof = rowCount() == 0;
    notify([](DataLink* l) { l->dataSetChanged(); });
    emit afterDelete();
    emit afterScroll();
}

void DataSet::setSort(const QString& sortText) {
    requireActive();
    checkBrowseMode();
    struct Key {
        int column;
        FieldType type;
        bool desc;
        // One number per physical row that orders as the values do (blanks lowest), so that
        // sorting many rows compares small numbers rather than variants and text.
        std::vector<double> rank;
    };
    std::vector<Key> keys;
    for (const QString& part : sortText.split(u',', Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(u' ');
        if (words.isEmpty() || words[0].isEmpty())
            continue;
        QString name = words[0];
        if (name.startsWith(u'[') && name.endsWith(u']'))
            name = name.mid(1, name.size() - 2);
        const Field* f = fieldByName(name);
        bool desc = false;
        if (words.size() > 1) {
            if (words[1].compare(u"DESC", Qt::CaseInsensitive) == 0)
                desc = true;
            else if (words[1].compare(u"ASC", Qt::CaseInsensitive) != 0)
                fail(QStringLiteral("Λανθασμένη ταξινόμηση: %1").arg(sortText));
        }
        keys.push_back({f->m_index, f->m_type, desc, {}});
    }
    for (Key& k : keys)
        k.rank = sortRanks(k.column, k.type);
    if (keys.empty())
        std::sort(m_order.begin(), m_order.end());
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        for (const Key& k : keys) {
            if (!k.rank.empty()) {
                const double x = k.rank[a], y = k.rank[b];
                if (x != y)
                    return k.desc ? x > y : x < y;
                continue;
            }
            const int c = compareValues(k.type, m_cells[size_t(a) * m_columns + k.column],
                                        m_cells[size_t(b) * m_columns + k.column]);
            if (c != 0)
                return k.desc ? c > 0 : c < 0;
        }
        return false;
    });
    m_sort = sortText;
    m_current = rowCount() > 0 ? 0 : -1;
    m_bof = true;
    m_eof = rowCount() == 0;
    notify([](DataLink* l) { l->dataSetChanged(); });
    emit afterScroll();
}

std::vector<double> DataSet::sortRanks(int column, FieldType type) const {
    constexpr double blank = -std::numeric_limits<double>::infinity();
    std::vector<double> rank(m_rowIds.size(), blank);
    auto cellOf = [&](int p) -> const QVariant& { return m_cells[size_t(p) * m_columns + column]; };
    auto isBlank = [](const QVariant& v) { return !v.isValid() || v.isNull(); };
    const bool text = type != FieldType::Integer && type != FieldType::AutoInc &&
                      type != FieldType::Double && type != FieldType::Boolean &&
                      type != FieldType::Date;
    if (!text) {
        for (int p : m_order) {
            const QVariant& v = cellOf(p);
            if (isBlank(v))
                continue;
            if (type == FieldType::Date) {
                if (v.typeId() != QMetaType::QDate)
                    return {}; // a stored text that is no date: compared value by value
                rank[p] = double(v.toDate().toJulianDay());
            } else {
                rank[p] = v.toDouble();
            }
        }
        return rank;
    }
    // Text: each distinct value ranked once in the Greek order.
    QHash<QString, int> index;
    QList<QString> distinct;
    for (int p : m_order) {
        const QVariant& v = cellOf(p);
        if (isBlank(v))
            continue;
        if (v.typeId() != QMetaType::QString)
            return {}; // numbers among the text: compared value by value
        const QString& s = *static_cast<const QString*>(v.constData());
        const auto it = index.constFind(s);
        if (it == index.constEnd()) {
            index.insert(s, int(distinct.size()));
            rank[p] = double(distinct.size());
            distinct.append(s);
        } else {
            rank[p] = double(*it);
        }
    }
    std::vector<int> byOrder(distinct.size());
    for (int i = 0; i < int(byOrder.size()); ++i)
        byOrder[i] = i;
    std::vector<QString> folded(distinct.size());
    for (int i = 0; i < int(distinct.size()); ++i)
        folded[i] = GreekText::folded(distinct[i]);
    std::sort(byOrder.begin(), byOrder.end(), [&](int a, int b) {
        const int c = folded[a].compare(folded[b]);
        return c != 0 ? c < 0 : distinct[a].compare(distinct[b]) < 0;
    });
    std::vector<double> position(distinct.size());
    for (int i = 0; i < int(byOrder.size()); ++i)
        position[byOrder[i]] = double(i);
    for (int p : m_order)
        if (rank[p] != blank)
            rank[p] = position[int(rank[p])];
    return rank;
}

// ---- Table, Query, Command ----

DataSet::Source Table::prepareSource() {
    if (m_tableName.trimmed().isEmpty())
        throw UserError(QStringLiteral("Δεν έχει οριστεί πίνακας."));
    Source s;
    s.sql = QStringLiteral("SELECT _rowid_, * FROM ") + quoted(m_tableName.trimmed());
    s.table = m_tableName.trimmed();
    s.hasRowId = true;
    return s;
}

DataSet::Source Query::prepareSource() {
    Source s;
    s.sql = connection()->store().translate(sqlText());
    s.detectEditable = true;
    return s;
}

int Query::execSql() {
    if (!connection())
        throw UserError(QStringLiteral("Δεν έχει οριστεί σύνδεση με τη βάση δεδομένων."));
    connection()->open();
    return connection()->execute(sqlText());
}

int Command::execute() {
    if (!m_connection)
        throw UserError(QStringLiteral("Δεν έχει οριστεί σύνδεση με τη βάση δεδομένων."));
    m_connection->open();
    return m_connection->execute(m_text);
}
