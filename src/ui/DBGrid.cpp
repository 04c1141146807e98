#include "ui/DBGrid.h"

#include "data/TableText.h"
#include "ui/Guard.h"
#include "ui/SaveFile.h"
#include "ui/Seams.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), m_model(new DBGridModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fixed row heights keep a grid of any length cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(true);
    fitRowHeight();

    QPalette p = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);

    connect(m_model, &DBGridModel::currentRowChanged, this,
            [this](int row) { followDataSet(row); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onCurrentRowChanged(current); });
    connect(horizontalHeader(), &QHeaderView::sectionCountChanged, this, [this] { applyWidths(); });
    buildMenu();
}

void DBGrid::buildMenu() {
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("GridMenu"));
    auto add = [this](const char* name, const QString& text, auto handler) {
        QAction* a = m_menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        // Shown in the menu only; the grid's own key handling copies.
        a->setShortcutContext(Qt::WidgetShortcut);
        connectGuarded(a, &QAction::triggered, this, handler);
        return a;
    };
    m_copyRow = add("CopyRow", QStringLiteral("Αντιγραφή"), [this] { copySelectedRow(); });
    m_copyRow->setShortcut(QKeySequence::Copy);
    m_copyAll =
        add("CopyAllRows", QStringLiteral("Αντιγραφή όλων των γραμμών"), [this] { copyAllRows(); });
    m_menu->addSeparator();
    m_exportCsv = add("ExportCsv", QStringLiteral("Εξαγωγή σε CSV…"), [this] { exportCsv(); });
    m_exportExcel =
        add("ExportExcel", QStringLiteral("Εξαγωγή σε Excel…"), [this] { exportExcel(); });
}

void DBGrid::updateMenu() {
    const int row = m_model->currentRow();
    const bool columns = m_model->columnCount() > 0;
    m_copyRow->setEnabled(columns && row >= 0 && row < m_model->rowCount());
    m_copyAll->setEnabled(columns);
    m_exportCsv->setEnabled(columns);
    m_exportExcel->setEnabled(columns);
}

void DBGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Mouse) {
        showMenuAtCurrentRow();
    } else {
        updateMenu();
        m_menu->popup(event->globalPos());
    }
    event->accept();
}

void DBGrid::showMenuAtCurrentRow() {
    updateMenu();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
    const QRect r = visualRect(currentIndex());
    const QPoint at = r.isValid() ? r.bottomLeft() : QPoint(0, 0);
    m_menu->popup(viewport()->mapToGlobal(at));
}

QList<int> DBGrid::shownColumns() const {
    QList<int> columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < m_model->columnCount(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !header->isSectionHidden(logical))
            columns.append(logical);
    }
    return columns;
}

QStringList DBGrid::rowTexts(int row, const QList<int>& columns) const {
    QStringList texts;
    for (const int c : columns)
        texts << m_model->index(row, c).data().toString();
    return texts;
}

QList<QStringList> DBGrid::shownRows() const {
    const QList<int> columns = shownColumns();
    QList<QStringList> rows;
    QStringList titles;
    for (const int c : columns)
        titles << m_model->headerData(c, Qt::Horizontal).toString();
    rows.append(titles);
    // A row being inserted is not in the list until it is saved.
    const DataSet* ds = m_model->dataSet();
    const int pending = ds && ds->state() == DataSet::State::Insert ? ds->currentRow() : -1;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (row != pending)
            rows.append(rowTexts(row, columns));
    return rows;
}

namespace {
void toClipboard(const QList<QStringList>& rows, bool header) {
    auto* mime = new QMimeData;
    mime->setText(TableText::tabSeparated(rows));
    mime->setHtml(TableText::htmlTable(rows, header));
    QGuiApplication::clipboard()->setMimeData(mime);
}
} // namespace

void DBGrid::copySelectedRow() {
    const int row = m_model->currentRow();
    if (row < 0 || row >= m_model->rowCount())
        return;
    toClipboard({rowTexts(row, shownColumns())}, false);
}

void DBGrid::copyAllRows() {
    toClipboard(shownRows(), true);
}

QString DBGrid::proposedName(const QString& suffix) const {
    QString caption = window()->windowTitle().trimmed();
    if (caption.isEmpty())
        caption = QStringLiteral("Λίστα");
    return SaveFile::nameFrom(caption + u' ' +
                              Clock::today().toString(QStringLiteral("d/M/yyyy"))) +
           suffix;
}

QString DBGrid::proposedCsvName() const {
    return proposedName(QStringLiteral(".csv"));
}

QString DBGrid::proposedExcelName() const {
    return proposedName(QStringLiteral(".xlsx"));
}

void DBGrid::exportCsv() {
    const QString path =
        SaveFile::ask(this, QStringLiteral("Εξαγωγή σε CSV"), QStringLiteral("CSV (*.csv)"),
                      QStringLiteral("csv"), SaveFile::dataFolder(), proposedCsvName());
    if (!path.isEmpty())
        exportCsvTo(path);
}

void DBGrid::exportCsvTo(const QString& path) {
    SaveFile::write(path, TableText::csv(shownRows()));
}

// A column's kind comes from what the screen and the data set say of the column, never from
// its values, so that a phone number or a code of digits stays text however it looks:
// - an amount: shown with fixed decimals, or titled in euro ("Ποσό (EUR)"), which also
//   covers the amounts the statements format as text;
// - a date: a date field, or a field named HMEROMHNIA... that a statement formatted as text;
// - a count: a whole-number field (a receipt number, a month, a year, a count);
// - a number: any other number field;
// - text: everything else, whatever it holds.
Spreadsheet::Kind DBGrid::columnKind(int column) const {
    using Spreadsheet::Kind;
    const QList<GridColumn>& columns = m_model->columns();
    if (column < 0 || column >= columns.size())
        return Kind::Text;
    const GridColumn& c = columns[column];
    const DataSet* ds = m_model->dataSet();
    const int f = m_model->fieldIndex(column);
    const FieldType type = ds && f >= 0 ? ds->field(f)->type() : FieldType::Unknown;
    if (c.decimals >= 0 || c.title.contains(QLatin1String("(EUR)"), Qt::CaseInsensitive))
        return Kind::Amount;
    switch (type) {
    case FieldType::Date:
        return Kind::Date;
    case FieldType::Integer:
    case FieldType::AutoInc:
        return Kind::Count;
    case FieldType::Double:
        return Kind::Number;
    case FieldType::Text:
    case FieldType::Unknown:
        if (c.field.startsWith(QLatin1String("HMEROMHNIA"), Qt::CaseInsensitive))
            return Kind::Date;
        return Kind::Text;
    default:
        return Kind::Text;
    }
}

Spreadsheet::Sheet DBGrid::sheet() const {
    Spreadsheet::Sheet sheet;
    sheet.name = window()->windowTitle();
    QList<QStringList> rows = shownRows();
    sheet.titles = rows.takeFirst();
    for (const int c : shownColumns())
        sheet.kinds << columnKind(c);
    sheet.rows = std::move(rows);
    return sheet;
}

void DBGrid::exportExcel() {
    const QString path =
        SaveFile::ask(this, QStringLiteral("Εξαγωγή σε Excel"), QStringLiteral("Excel (*.xlsx)"),
                      QStringLiteral("xlsx"), SaveFile::dataFolder(), proposedExcelName());
    if (!path.isEmpty())
        exportExcelTo(path);
}

void DBGrid::exportExcelTo(const QString& path) {
    Spreadsheet::write(path, sheet());
}

void DBGrid::setDataSource(DataSource* source) {
    m_model->setDataSource(source);
}

void DBGrid::setColumns(const QList<GridColumn>& columns) {
    m_model->setColumns(columns);
    applyWidths();
}

void DBGrid::applyWidths() {
    const QList<GridColumn>& columns = m_model->columns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns[c].width > 0)
            setColumnWidth(c, columns[c].width);
}

void DBGrid::fitRowHeight() {
    const int height = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(DBGridModel::browseMark()) +
                                    12);
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeight();
}

void DBGrid::followDataSet(int row) {
    m_following = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex target = m_model->index(row, column);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
        if (m_scrollOnFollow)
            scrollTo(target);
    } else {
        selectionModel()->clear();
    }
    m_following = false;
}

bool DBGrid::moveDataSet(int row) {
    DataSet* ds = m_model->dataSet();
    if (!ds || !ds->isActive() || row == ds->currentRow())
        return true;
    // Leaving a row that is being edited posts it; a refused post keeps the old row.
    return runGuarded(this, [&] { ds->moveTo(row); });
}

void DBGrid::onCurrentRowChanged(const QModelIndex& current) {
    if (m_following || !current.isValid())
        return;
    if (moveDataSet(current.row()))
        return;
    // The view may still select the row it was moving to once this returns; put the
    // selection back again after it.
    followDataSet(m_model->currentRow());
    QMetaObject::invokeMethod(
        this, [this] { followDataSet(m_model->currentRow()); }, Qt::QueuedConnection);
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Move the data set first, so that a refused move leaves the grid where it was.
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (target.isValid() && !moveDataSet(target.row()))
        return currentIndex();
    return target;
}

QItemSelectionModel::SelectionFlags DBGrid::selectionCommand(const QModelIndex& index,
                                                             const QEvent* event) const {
    // The current row is always the selected one: Ctrl with a click or a key would otherwise
    // deselect it, leaving the row the buttons act on unmarked.
    if (index.isValid() && event &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return QTableView::selectionCommand(index, event);
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
    // The control being left refused to let the focus go (what was typed there is wrong):
    // the click is not taken either, so the error is told once.
    if (isActiveWindow() && (focusPolicy() & Qt::ClickFocus) && !hasFocus()) {
        event->accept();
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        m_scrollOnFollow = false; // the view scrolls to the clicked row itself
        const bool moved = moveDataSet(at.row());
        m_scrollOnFollow = true;
        // A refused move keeps the old row; and when leaving the row dropped an empty new
        // one, the rows below moved up and the data set (not the pixel) knows the row meant.
        const DataSet* ds = m_model->dataSet();
        if (!moved || (ds && ds->isActive() && ds->currentRow() != at.row())) {
            event->accept();
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Delete && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
        deleteCurrent();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Menu && mods == Qt::NoModifier) ||
        (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        showMenuAtCurrentRow();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        runGuarded(this, [this] { copySelectedRow(); });
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::deleteCurrent() {
    DataSet* ds = m_model->dataSet();
    if (!ds || !ds->isActive() || ds->currentRow() < 0 || !ds->canModify())
        return;
    if (Messages::confirm(this, deleteQuestion()))
        runGuarded(this, [ds] { ds->deleteRecord(); });
}
