#include "customers/Unit19.h"

#include "ui_Unit19.h"

#include "data/Connection.h"
#include "data/CustomerNumber.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

TForm19::TForm19(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm19>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    ui->Fields->setDataSource(DataSource1);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Post);
    connectGuarded(ui->DBNavigator1, &DBNavigator::clicked, this, &TForm19::DBNavigator1Click);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm19::Button1Click);
}

TForm19::~TForm19() = default;

QString TForm19::recordSql(const QString& customerId) {
    return QStringLiteral("SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,DIEYTHYNSH,"
                          "THLEFWNO_1,") +
           QStringLiteral("THLEFWNO_2,EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH WHERE ID=") +
           customerId;
}

void TForm19::FormShow() {
    customerNumber(CustomerId); // refused before it reaches a statement
    ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(recordSql(CustomerId));
    ADOQuery1->open();
    // A customer deleted meanwhile leaves nothing to edit; editing an empty result would
    // start a new customer instead.
    if (!ADOQuery1->isEmpty())
        ADOQuery1->edit();
    ui->Fields->firstField()->setFocus();
}

void TForm19::DBNavigator1Click() {
    if (!ADOQuery1->isEmpty())
        ADOQuery1->edit();
}

void TForm19::Button1Click() {
    close();
}

void TForm19::FormClose() {
    ADOQuery1->close();
    ADOConnection1->close();
}
