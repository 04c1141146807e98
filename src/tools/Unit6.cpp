#include "tools/Unit6.h"

#include "ui_Unit6.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "tools/Unit7.h"
#include "ui/Guard.h"
#include "ui/KeepSorted.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"

#include <QHeaderView>

#include <stdexcept>

TForm6::TForm6(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm6>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    makeRequiredMark(ui->Label3);
    makeRequiredMark(ui->Label4);

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("SHMEIWSEIS"));
    DataSource1->setDataSet(ADOTable1);
    keepSorted(ADOTable1);

    ui->DBEdit1->setDataSource(DataSource1);
    ui->DBEdit1->setDataField(QStringLiteral("TITLOS"));
    ui->DBMemo1->setDataSource(DataSource1);
    ui->DBMemo1->setDataField(QStringLiteral("PERIGRAFH"));
    ui->DBText1->setDataSource(DataSource1);
    ui->DBText1->setDataField(QStringLiteral("ID"));
    ui->DBText1->hide();

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns(
        {{QStringLiteral("TITLOS"), QStringLiteral("Τίτλος"), Qt::AlignLeft, 0}});
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);
    // Reached by the mouse only; Tab goes from the text to the navigator.
    ui->DBGrid1->setFocusPolicy(Qt::ClickFocus);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::BookButtons);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connectGuarded(ui->DBNavigator1, &DBNavigator::clicked, this, &TForm6::DBNavigator1Click);
    // Rows come and go, and a new note is typed, also without the navigator (typing into an
    // empty book, picking another row in the list).
    connectGuarded(ADOTable1, &DataSet::stateChanged, this, &TForm6::UpdatePrintButton);
    connectGuarded(ADOTable1, &DataSet::afterDelete, this, &TForm6::UpdatePrintButton);

    FormCreate();
}

TForm6::~TForm6() {
    // The table closes with its connection after the controls are gone.
    disconnect(ADOTable1, nullptr, this, nullptr);
}

void TForm6::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable1->setSort(QStringLiteral("TITLOS ASC"));
    UpdatePrintButton();
}

void TForm6::UpdatePrintButton() {
    // A new note has no number until it is saved, so it cannot be printed on its own yet.
    const bool inserting = ADOTable1->state() == DataSet::State::Insert;
    ui->Button2->setEnabled(ADOTable1->isActive() && ADOTable1->recordCount() > 0 && !inserting);
}

void TForm6::DBNavigator1Click() {
    UpdatePrintButton();
}

void TForm6::Button2Click() {
    TForm7* printing = LongLived::find<TForm7>();
    if (!printing)
        throw UserError(QStringLiteral("Η οθόνη εκτύπωσης των σημειώσεων δεν είναι διαθέσιμη."));
    printing->NoteId = ui->DBText1->text().trimmed();
    Modal::exec(*printing);
}

void TForm6::Button1Click() {
    close();
}

void TForm6::FormClose() {
    // Closing the table drops a note still being typed and not saved.
    ADOTable1->close();
    ADOConnection1->close();
}
