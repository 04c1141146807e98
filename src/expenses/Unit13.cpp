#include "expenses/Unit13.h"

#include "ui_Unit13.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"

#include <QHeaderView>

TForm13::TForm13(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm13>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    for (QLabel* mark : {ui->Label5, ui->Label6, ui->Label7, ui->Label8})
        makeRequiredMark(mark);
    ui->Label6->setText(QStringLiteral("EUR *"));
    ui->Label7->setText(QStringLiteral("EUR *"));

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("EKSODA"));
    // A value or VAT left blank is none at all; stored empty it would drop the whole
    // expense from the sums of value plus VAT.
    ADOTable1->beforePost = [](DataSet& ds) {
        for (const char* column : {"POSO", "VAT"})
            if (Field* f = ds.fieldByName(QString::fromLatin1(column)); f->isNull())
                f->setValue(0.0);
    };
    DataSource1->setDataSet(ADOTable1);

    const std::pair<DBEdit*, const char*> fields[] = {{ui->DBEdit1, "HMEROMHNIA"},
                                                      {ui->DBEdit2, "POSO"},
                                                      {ui->DBEdit3, "VAT"},
                                                      {ui->DBEdit4, "PERIGRAFH"}};
    for (const auto& [edit, column] : fields) {
        edit->setDataSource(DataSource1);
        edit->setDataField(QString::fromLatin1(column));
    }
    // Amounts read as everywhere else in the program: two decimals, right-aligned.
    for (DBEdit* amount : {ui->DBEdit2, ui->DBEdit3}) {
        amount->setDecimals(2);
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns(
        {{QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 260},
         {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 90},
         {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), Qt::AlignRight, 100, 2},
         {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), Qt::AlignRight, 100, 2}});
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(
        DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last |
        DBNavigator::Insert | DBNavigator::Delete | DBNavigator::Post);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm13::Button1Click);

    runGuarded(parent, [this] { FormCreate(); });
}

TForm13::~TForm13() = default;

void TForm13::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable1->setSort(QStringLiteral("HMEROMHNIA DESC"));
}

void TForm13::Button1Click() {
    close();
}

void TForm13::FormClose() {
    // Closing the table drops an expense still being edited.
    ADOTable1->close();
    ADOConnection1->close();
}
