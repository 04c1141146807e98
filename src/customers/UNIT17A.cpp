#include "customers/UNIT17A.h"

#include "ui_UNIT17A.h"

#include "data/Connection.h"
#include "data/CustomerNumber.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

#include <QHeaderView>

TFORM17A::TFORM17A(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TFORM17A>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), ADOQuery1(new Query(this)), DataSource1(new DataSource(this)),
      DataSource2(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    for (QLabel* value : {ui->Label3, ui->Label4, ui->Label6, ui->Label10})
        makeValueLabel(value);
    makeRequiredMark(ui->Label11);
    makeRequiredMark(ui->Label12);
    // Red like the marks, with an example of how a date is typed.
    makeRequiredMark(ui->Label101);
    ui->Label101->setText(QStringLiteral("* (π.χ 28/12/2007)"));

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("EPISKEPSEIS"));
    DataSource1->setDataSet(ADOTable1);
    ADOQuery1->setConnection(ADOConnection1);
    DataSource2->setDataSet(ADOQuery1);

    const std::pair<DBEdit*, const char*> entry[] = {{ui->DBEdit1, "HMEROMHNIA"},
                                                     {ui->DBEdit2, "AITIA"},
                                                     {ui->DBEdit3, "PERIGRAFH"},
                                                     {ui->DBEdit4, "ID"}};
    for (const auto& [edit, column] : entry) {
        edit->setDataSource(DataSource1);
        edit->setDataField(QString::fromLatin1(column));
    }
    // The last step before a visit is written: whatever happened since the row was started,
    // it belongs to this customer.
    ADOTable1->beforePost = [this](DataSet&) { DataSource1UpdateData(); };

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Post);
    connectGuarded(ui->DBNavigator1, &DBNavigator::clicked, this, &TFORM17A::DBNavigator1Click);

    ui->DBGrid1->setDataSource(DataSource2);
    ui->DBGrid1->setColumns({
        {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 90},
        {QStringLiteral("AITIA"), QStringLiteral("Αιτία"), Qt::AlignLeft, 180},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 260},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    ui->DBNavigator2->setDataSource(DataSource2);
    ui->DBNavigator2->setVisibleButtons(DBNavigator::First | DBNavigator::Prior |
                                        DBNavigator::Next | DBNavigator::Last |
                                        DBNavigator::Delete);
    connectGuarded(ui->DBNavigator2, &DBNavigator::clicked, this, &TFORM17A::DBNavigator2Click);
    // The grid's own Delete key removes a visit too; the count follows it as well.
    connectGuarded(ADOQuery1, &DataSet::afterDelete, this, &TFORM17A::ShowVisitCount);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TFORM17A::Button1Click);

    FormCreate();
}

TFORM17A::~TFORM17A() = default;

QString TFORM17A::visitsSql(const QString& customerId) {
    return QStringLiteral("select ID AS ID,HMEROMHNIA AS HMEROMHNIA,AITIA AS AITIA,PERIGRAFH AS "
                          "PERIGRAFH from EPISKEPSEIS WHERE ID=") +
           customerId + QStringLiteral(" ORDER BY HMEROMHNIA ASC");
}

QString TFORM17A::countText(int count) {
    return QStringLiteral("Βρέθηκαν ") + QString::number(count) + QStringLiteral(" επισκέψεις");
}

void TFORM17A::FormCreate() {
    ADOConnection1->setConnectionString(Global::ConnectionString);
    ADOConnection1->open();
    ADOTable1->open();
}

void TFORM17A::FormShow() {
    customerNumber(CustomerId); // refused before it reaches a statement
    ui->Label3->setText(CustomerName);
    ui->Label4->setText(CustomerSurname);
    ui->Label6->setText(CustomerId);
    ADOTable1->insert();
    StampCustomer();
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(visitsSql(CustomerId));
    ADOQuery1->open();
    ShowVisitCount();
    ui->DBEdit1->setFocus();
}

void TFORM17A::StampCustomer() {
    ADOTable1->fieldByName(QStringLiteral("ID"))->setValue(customerNumber(CustomerId));
}

void TFORM17A::DataSource1UpdateData() {
    StampCustomer();
}

void TFORM17A::ShowVisitCount() {
    ui->Label10->setText(countText(ADOQuery1->recordCount()));
}

void TFORM17A::DBNavigator1Click() {
    // Only a visit that was saved gets here: the list shows it, and the next one can be typed.
    ADOQuery1->close();
    ADOQuery1->open();
    ShowVisitCount();
    ADOTable1->insert();
    ui->DBEdit1->setFocus();
}

void TFORM17A::DBNavigator2Click() {
    ShowVisitCount();
}

void TFORM17A::Button1Click() {
    close();
}

void TFORM17A::FormClose() {
    // Closing the connection closes the entry table too, dropping a visit not posted.
    ADOConnection1->close();
}
