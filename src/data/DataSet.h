#pragma once

#include "Connection.h"
#include "RowReader.h"
#include "Values.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class DataSet;
class DataSource;

// One column of an open data object. Reads and writes go to the current row
// (the edit buffer while the row is being edited or inserted).
class Field {
public:
    const QString& fieldName() const { return m_name; }
    FieldType type() const { return m_type; }
    int size() const { return m_size; } // text width, 0 for none
    int index() const { return m_index; }
    bool isReadOnly() const { return m_readOnly; }
    DataSet* dataSet() const { return m_dataSet; }

    QVariant value() const;
    void setValue(const QVariant& v); // the row must be in edit or insert state
    bool isNull() const;
    void clear() { setValue(QVariant()); }

    QString displayText() const; // as shown: d/M/yyyy, True/False, 12,5
    QString asString() const { return displayText(); }
    void setText(const QString& typed); // converts; throws InputError and changes nothing
    qlonglong asInteger() const { return value().toLongLong(); }
    double asFloat() const { return value().toDouble(); }

private:
    friend class DataSet;
    DataSet* m_dataSet = nullptr;
    QString m_name;
    QString m_origin; // column of the base table behind it, for writes
    FieldType m_type = FieldType::Unknown;
    int m_size = 0;
    int m_index = 0;
    bool m_readOnly = false;
};

// Something bound to a data set through a DataSource (a data-aware control, a grid model).
// The data set calls these directly, so updateData may throw to refuse a typed value.
class DataLink {
public:
    virtual ~DataLink();
    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source);
    DataSet* dataSet() const;

    virtual void activeChanged() {}
    virtual void dataSetChanged() {}                  // rows reloaded, sorted, added or removed
    virtual void recordChanged(const Field* /*f*/) {} // null: the whole current row
    virtual void scrolled() {}                        // another row became current
    virtual void editingChanged() {}
    virtual void updateData() {} // write pending typed text into the fields

private:
    friend class DataSource;
    DataSource* m_source = nullptr;
};

// Links one data set to its controls.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;
    DataSet* dataSet() const { return m_dataSet; }
    void setDataSet(DataSet* ds);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on);
    const QList<DataLink*>& links() const { return m_links; }

private:
    friend class DataLink;
    friend class DataSet;
    QPointer<DataSet> m_dataSet;
    QList<DataLink*> m_links;
    bool m_autoEdit = true;
};

// A client-side static cursor over rows read from the store: opening reads the whole result,
// the record count is exact, sorting reorders the rows in memory, and only post writes.
class DataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    Connection* connection() const { return m_connection; }
    void setConnection(Connection* c);

    void open();
    void close(); // drops an unposted edit without a word
    bool isActive() const { return m_state != State::Inactive; }
    void setActive(bool on) { on ? open() : close(); }
    // Reads the rows again, keeping the sort and, as far as it goes, the current row.
    void refresh();

    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool canModify() const { return m_editable; }

    // Rows stored (a row being inserted is not counted until posted).
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // Rows shown, the one being inserted included.
    int rowCount() const { return int(m_order.size()); }
    int currentRow() const { return m_current; } // -1 when there is none
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    // Moving away from a row being edited posts it first.
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    void edit();
    void insert(); // a new row before the current one
    void append(); // a new row at the end
    void post();
    void cancel();
    void deleteRecord();
    // Before leaving a row: a changed row is posted, an untouched one is given up.
    void checkBrowseMode();
    // Asks the bound controls to hand over what the user typed.
    void updateRecord();

    const QList<Field*>& fields() const { return m_fieldList; }
    int fieldCount() const { return int(m_fieldList.size()); }
    Field* field(int i) const { return m_fieldList.at(i); }
    Field* findField(const QString& name) const;
    Field* fieldByName(const QString& name) const; // throws when missing

    // Value of any shown row; the current row reads its edit buffer while editing.
    QVariant cell(int row, int column) const;
    QString cellText(int row, int column) const;

    // "EPWNYMO DESC", "HMEROMHNIA_GENNHSEWS ASC, EPWNYMO": reorders the rows in memory;
    // an empty text returns to the order the rows were read in.
    QString sort() const { return m_sort; }
    void setSort(const QString& sortText);

    int maxRecords() const { return m_maxRecords; }
    void setMaxRecords(int n) { m_maxRecords = n; }

    // Runs before a row is written; throwing refuses the post and keeps the row in editing.
    std::function<void(DataSet&)> beforePost;

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void afterInsert();
    void afterEdit();
    void afterPost();
    void afterCancel();
    void afterDelete();
    void stateChanged();

protected:
    // The statement to run in the store's own dialect, and the table that writes go to
    // (empty: read-only). Subclasses decide both when opening.
    using Source = RowSource;
    virtual Source prepareSource() = 0;

private:
    friend class Field;
    friend class DataSource;

    void setFieldValue(int index, const QVariant& v);
    QVariant currentValue(int index) const;
    void setState(State s);
    void setCurrent(int row, bool notify = true);
    void writeRow();
    void reloadRow(int physical);
    void dropPendingInsert();
    void startInsert(int at);
    void requireActive() const;
    void requireEditable() const;
    void notify(const std::function<void(DataLink*)>& f);
    // Numbers ordering the rows by one column; empty when its values must be compared one
    // by one.
    std::vector<double> sortRanks(int column, FieldType type) const;

    QPointer<Connection> m_connection;
    QMetaObject::Connection m_closeHook;
    State m_state = State::Inactive;
    QList<Field*> m_fieldList;
    std::vector<std::unique_ptr<Field>> m_fields;
    QString m_table;
    bool m_editable = false;

    int m_columns = 0;
    Cells m_cells;                // physical rows, m_columns each
    std::vector<qint64> m_rowIds; // per physical row
    std::vector<int> m_order;     // shown row -> physical row
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;

    std::vector<QVariant> m_buffer;
    std::vector<bool> m_modified;
    int m_insertPhysical = -1;

    QString m_sort;
    int m_maxRecords = 0;
    QList<DataSource*> m_sources;
};

// A whole table by name (editable).
class Table : public DataSet {
    Q_OBJECT
public:
    explicit Table(QObject* parent = nullptr) : DataSet(parent) {}
    QString tableName() const { return m_tableName; }
    void setTableName(const QString& name) { m_tableName = name; }

protected:
    Source prepareSource() override;

private:
    QString m_tableName;
};

// A statement the screen clears and rebuilds before opening it. It is editable when it reads
// the columns of one table (no join, grouping or computed column).
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr) : DataSet(parent) {}
    QStringList& sql() { return m_sql; }
    const QStringList& sql() const { return m_sql; }
    void clearSql() { m_sql.clear(); }
    void addSql(const QString& line) { m_sql.append(line); }
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }
    // Runs the text as a statement that returns no rows; returns the rows changed.
    int execSql();

protected:
    Source prepareSource() override;

private:
    QStringList m_sql;
};

// A statement that returns no rows.
class Command : public QObject {
    Q_OBJECT
public:
    explicit Command(QObject* parent = nullptr) : QObject(parent) {}
    Connection* connection() const { return m_connection; }
    void setConnection(Connection* c) { m_connection = c; }
    QString commandText() const { return m_text; }
    void setCommandText(const QString& t) { m_text = t; }
    int execute();

private:
    QPointer<Connection> m_connection;
    QString m_text;
};
