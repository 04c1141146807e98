#include "tools/Unit10.h"

#include "ui_Unit10.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/KeepSorted.h"

#include <QHeaderView>

TForm10::TForm10(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm10>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    for (QLabel* mark : {ui->Label8, ui->Label9, ui->Label10})
        makeRequiredMark(mark);

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("XRHSIMA_THLEFWNA"));
    DataSource1->setDataSet(ADOTable1);
    keepSorted(ADOTable1);

    const std::pair<DBEdit*, const char*> edits[] = {
        {ui->DBEdit1, "ONOMATEPWNYMO"}, {ui->DBEdit2, "DIEYTHYNSH"}, {ui->DBEdit3, "THLEFWNO_1"},
        {ui->DBEdit4, "THLEFWNO_2"},    {ui->DBEdit5, "FAX"},        {ui->DBEdit6, "EMAIL"},
        {ui->DBEdit7, "PERIGRAFH"}};
    for (const auto& [edit, column] : edits) {
        edit->setDataSource(DataSource1);
        edit->setDataField(QString::fromLatin1(column));
    }

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("ONOMATEPWNYMO"), QStringLiteral("Ονοματεπώνυμο"), Qt::AlignLeft, 150},
        {QStringLiteral("DIEYTHYNSH"), QStringLiteral("Διεύθυνση"), Qt::AlignLeft, 150},
        {QStringLiteral("THLEFWNO_1"), QStringLiteral("Τηλέφωνο 1"), Qt::AlignHCenter, 85},
        {QStringLiteral("THLEFWNO_2"), QStringLiteral("Τηλέφωνο 2"), Qt::AlignHCenter, 85},
        {QStringLiteral("FAX"), QStringLiteral("Fax"), Qt::AlignHCenter, 85},
        {QStringLiteral("EMAIL"), QStringLiteral("Email"), Qt::AlignLeft, 130},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 100},
    });
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);
    ui->DBGrid1->setTitlesBoldCentred(true);
    // Reached by the mouse only; Tab runs through the fields and the navigator.
    ui->DBGrid1->setFocusPolicy(Qt::ClickFocus);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::BookButtons);

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm10::Button1Click);

    FormCreate();
}

TForm10::~TForm10() = default;

void TForm10::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable1->setSort(QStringLiteral("ONOMATEPWNYMO ASC"));
}

void TForm10::Button1Click() {
    close();
}

void TForm10::FormClose() {
    // Closing the table drops a contact still being typed and not saved.
    ADOTable1->close();
    ADOConnection1->close();
}
