#include "customers/Unit16.h"

#include "ui_Unit16.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

TForm16::TForm16(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm16>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("STOIXEIA_PELATH"));
    // The screen only appends: opening must not read the customers already stored.
    ADOTable1->setMaxRecords(1);
    DataSource1->setDataSet(ADOTable1);
    ui->Fields->setDataSource(DataSource1);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Insert | DBNavigator::Post);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm16::Button1Click);

    runGuarded(this, [this] { FormCreate(); });
}

TForm16::~TForm16() = default;

void TForm16::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable1->insert();
    ui->Fields->firstField()->setFocus();
}

void TForm16::Button1Click() {
    close();
}

void TForm16::FormClose() {
    // Closing the table is what drops a customer started but not posted.
    ADOTable1->close();
    ADOConnection1->close();
}
