#include "customers/Unit20.h"

#include "ui_Unit20.h"

#include "data/Connection.h"
#include "data/CustomerNumber.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

TForm20::TForm20(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm20>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    for (QLabel* value : {ui->Label21, ui->Label22, ui->Label23})
        makeValueLabel(value);

    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    ui->DBMemo1->setDataSource(DataSource1);
    ui->DBMemo1->setDataField(QStringLiteral("ISTORIKO"));

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Post);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm20::Button1Click);
}

TForm20::~TForm20() = default;

QString TForm20::historySql(const QString& customerId) {
    return QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE ID=") + customerId;
}

void TForm20::FormShow() {
    customerNumber(CustomerId); // refused before it reaches a statement
    ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(historySql(CustomerId));
    ADOQuery1->open();
    // A customer deleted meanwhile has no history to edit; typing would otherwise start a
    // new, nameless customer.
    DataSource1->setAutoEdit(!ADOQuery1->isEmpty());
    ui->Label23->setText(CustomerBirthDate);
    ui->Label22->setText(CustomerSurname);
    ui->Label21->setText(CustomerName);
    ui->DBMemo1->setFocus();
}

void TForm20::Button1Click() {
    close();
}

void TForm20::FormClose() {
    ADOQuery1->close();
    ADOConnection1->close();
}
