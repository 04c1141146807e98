#include "appointments/Unit12.h"

#include "ui_Unit12.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

TForm12::TForm12(QWidget* parent)
    : Screen(parent), ADOConnection1(new Connection(this)), ADOQuery1(new Query(this)),
      DataSource1(new DataSource(this)), ui(std::make_unique<Ui::TForm12>()) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    ui->DBMemo1->setReadOnly(true);
    ui->DBMemo1->setDataSource(DataSource1);
    ui->DBMemo1->setDataField(QStringLiteral("PERIGRAFH"));

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
}

TForm12::~TForm12() = default;

void TForm12::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->open();
}

void TForm12::Button1Click() {
    close();
}

void TForm12::FormClose() {
    ADOConnection1->close();
}
