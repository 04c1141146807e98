#include "appointments/Unit11.h"

#include "ui_Unit11.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

#include <QHeaderView>

TForm11::TForm11(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm11>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    makeRequiredMark(ui->Label3);
    makeValueLabel(ui->Label4);

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("YPENTHIMISEIS"));
    DataSource1->setDataSet(ADOTable1);

    ui->DBEdit1->setDataSource(DataSource1);
    ui->DBEdit1->setDataField(QStringLiteral("HMEROMHNIA"));
    ui->DBMemo1->setDataSource(DataSource1);
    ui->DBMemo1->setDataField(QStringLiteral("PERIGRAFH"));

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns(
        {{QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 0}});
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);
    // Reached by the mouse only; Tab goes from the text to the navigator.
    ui->DBGrid1->setFocusPolicy(Qt::ClickFocus);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::BookButtons);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
}

TForm11::~TForm11() = default;

void TForm11::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable1->setSort(QStringLiteral("HMEROMHNIA DESC"));
}

void TForm11::Button1Click() {
    close();
}

void TForm11::FormClose() {
    // Closing the table drops a reminder still being edited, as the book promises.
    ADOTable1->close();
    ADOConnection1->close();
}
