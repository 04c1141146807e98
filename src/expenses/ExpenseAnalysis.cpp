#include "expenses/ExpenseAnalysis.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"
#include "ui/DBText.h"
#include "ui/Guard.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"
#include "ui/SaveFile.h"
#include "ui/Seams.h"
#include "ui/Spreadsheet.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <stdexcept>
#include <string>

namespace {
template <class T> T* control(const QObject& screen, const QString& name) {
    T* found = screen.findChild<T*>(name);
    if (!found)
        throw std::logic_error("the screen has no " + name.toStdString());
    return found;
}
} // namespace

ExpenseAnalysis::ExpenseAnalysis(QWidget* parent, const ReportNames& names)
    : Screen(parent), ADOConnection1(new Connection(this)), ADOQuery1(new Query(this)),
      ADOQuery2(new Query(this)), ADOQuery3(new Query(this)), ADOQuery4(new Query(this)),
      DataSource1(new DataSource(this)), DataSource2(new DataSource(this)),
      listConnection(
          new RvDataSetConnection(QString::fromLatin1(names.listConnection), ADOQuery3, this)),
      totalsConnection(
          new RvDataSetConnection(QString::fromLatin1(names.totalsConnection), ADOQuery4, this)),
      project(new RvProject(QString::fromLatin1(names.project), this)),
      m_reportFile(QString::fromLatin1(names.file)), m_title(QString::fromUtf8(names.title)) {
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    int n = 0;
    for (Query* q : {ADOQuery1, ADOQuery2, ADOQuery3, ADOQuery4}) {
        q->setObjectName(QStringLiteral("ADOQuery%1").arg(++n));
        q->setConnection(ADOConnection1);
    }
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(ADOQuery1);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(ADOQuery2);
    FormCreate();
}

ExpenseAnalysis::~ExpenseAnalysis() = default;

void ExpenseAnalysis::setUpControls(const QList<GridColumn>& columns) {
    Edit1 = control<QLineEdit>(*this, QStringLiteral("Edit1"));
    Edit2 = control<QLineEdit>(*this, QStringLiteral("Edit2"));
    Button1 = control<QPushButton>(*this, QStringLiteral("Button1"));
    Button2 = control<QPushButton>(*this, QStringLiteral("Button2"));
    Button3 = control<QPushButton>(*this, QStringLiteral("Button3"));
    Button4 = control<QPushButton>(*this, QStringLiteral("Button4"));

    m_grid = control<DBGrid>(*this, QStringLiteral("DBGrid1"));
    m_grid->setDataSource(DataSource1);
    m_grid->setColumns(columns);
    m_grid->setTitlesBoldCentred(true);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto* navigator = control<DBNavigator>(*this, QStringLiteral("DBNavigator1"));
    navigator->setDataSource(DataSource1);
    navigator->setVisibleButtons(DBNavigator::First | DBNavigator::Prior | DBNavigator::Next |
                                 DBNavigator::Last);

    const char* totals[] = {"AKSIA", "VAT", "SYNOLO"};
    for (int i = 0; i < 3; ++i) {
        auto* total = control<DBText>(*this, QStringLiteral("DBText%1").arg(i + 1));
        makeValueLabel(total);
        total->setDataSource(DataSource2);
        total->setDataField(QString::fromLatin1(totals[i]));
    }
    for (QLabel* mark : {control<QLabel>(*this, QStringLiteral("Label3")),
                         control<QLabel>(*this, QStringLiteral("Label4"))})
        makeRequiredMark(mark);

    Button1->setDefault(true);
    EnableResultCommands(false);
    setCancelButton(Button2);
    connectGuarded(Button1, &QPushButton::clicked, this, &ExpenseAnalysis::Button1Click);
    connectGuarded(Button2, &QPushButton::clicked, this, &ExpenseAnalysis::Button2Click);
    connectGuarded(Button3, &QPushButton::clicked, this, &ExpenseAnalysis::Button3Click);
    connectGuarded(Button4, &QPushButton::clicked, this, &ExpenseAnalysis::Button4Click);
}

// The printout and the workbook go together: both show the last search.
void ExpenseAnalysis::EnableResultCommands(bool on) {
    Button3->setEnabled(on);
    Button4->setEnabled(on);
}

QString ExpenseAnalysis::Subject() const {
    return m_title + u' ' + PeriodFrom() + QStringLiteral(" έως ") + PeriodTo();
}

bool ExpenseAnalysis::inputsAreClean() const {
    return Global::IsCleanText(Edit1->text().trimmed()) &&
           Global::IsCleanText(Edit2->text().trimmed());
}

void ExpenseAnalysis::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString, false);
}

void ExpenseAnalysis::Button1Click() {
    ADOConnection1->setUp(Global::ConnectionString);
    EnableResultCommands(true);
    if (!TakeBounds()) {
        RefuseSearch();
        return;
    }
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(ListStatement());
    ADOQuery2->close();
    ADOQuery2->clearSql();
    ADOQuery2->addSql(TotalsStatement());
    if (!BoundsAreSafe() || !OpenResult())
        RefuseSearch();
}

bool ExpenseAnalysis::OpenResult() {
    // A statement the store refuses means criteria it cannot read.
    try {
        ADOQuery1->open();
        ADOQuery2->open();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ExpenseAnalysis::RefuseSearch() {
    EnableResultCommands(false);
    Messages::information(this, wrongCriteriaMessage());
}

void ExpenseAnalysis::Button3Click() {
    // Whatever happens, the printout's queries do not stay open; an error still shows.
    struct Closer {
        ExpenseAnalysis* form;
        ~Closer() { form->ClosePrintout(); }
    } closer{this};

    if (!ADOConnection1->isConnected())
        ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery3->close();
    ADOQuery3->clearSql();
    ADOQuery3->addSql(ListStatement());
    ADOQuery3->open();
    ADOQuery4->close();
    ADOQuery4->clearSql();
    ADOQuery4->addSql(TotalsStatement());
    ADOQuery4->open();

    project->setParam(QStringLiteral("From"), PeriodFrom());
    project->setParam(QStringLiteral("To"), PeriodTo());
    project->setTitle(m_title);
    project->setSubject(PeriodFrom() + QStringLiteral(" έως ") + PeriodTo());
    project->setProjectFile(Global::AppDirectory + QLatin1Char('/') + m_reportFile);
    project->execute();
}

void ExpenseAnalysis::Button4Click() {
    const QString name = SaveFile::nameFrom(Subject());
    const QString path = SaveFile::ask(this, QStringLiteral("Εξαγωγή σε Excel"),
                                       QStringLiteral("Excel (*.xlsx)"), QStringLiteral("xlsx"),
                                       SaveFile::dataFolder(), name + QStringLiteral(".xlsx"));
    if (path.isEmpty())
        return;
    // The list as the screen shows it, and under it the totals of the same search, each
    // under the column of its name.
    Spreadsheet::Sheet sheet = m_grid->sheet();
    sheet.name = name;
    QList<Spreadsheet::Cell> totals(sheet.titles.size());
    if (!totals.isEmpty())
        totals[0] = {QStringLiteral("Σύνολο")};
    for (qsizetype c = 0; c < sheet.titles.size(); ++c)
        for (const GridColumn& column : m_grid->gridModel()->columns())
            if (column.title == sheet.titles[c] && ADOQuery2->isActive())
                if (const Field* total = ADOQuery2->findField(column.field))
                    totals[c] = {total->displayText(), Spreadsheet::Kind::Amount};
    sheet.totals = {totals};
    Spreadsheet::write(path, sheet);
}

void ExpenseAnalysis::ClosePrintout() {
    for (Query* q : {ADOQuery3, ADOQuery4}) {
        q->close();
        q->clearSql();
    }
}

void ExpenseAnalysis::Button2Click() {
    close();
}

void ExpenseAnalysis::FormClose() {
    ADOConnection1->close();
    Edit1->clear();
    Edit2->clear();
    EnableResultCommands(false);
}
