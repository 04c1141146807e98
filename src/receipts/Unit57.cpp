#include "receipts/Unit57.h"

#include "ui_Unit57.h"

#include "data/Connection.h"
#include "data/CustomerNumber.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/SaveFile.h"
#include "ui/Spreadsheet.h"

#include <QHeaderView>

TForm57::TForm57(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm57>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), ADOQuery2(new Query(this)), DataSource1(new DataSource(this)),
      DataSource2(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    for (Query* q : {ADOQuery1, ADOQuery2})
        q->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    DataSource2->setDataSet(ADOQuery2);
    for (QLabel* value : {ui->Label3, ui->Label4})
        makeValueLabel(value);

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("AR_APODEIKSHS"), QStringLiteral("Αριθμός απόδειξης"), Qt::AlignCenter,
         130},
        {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερ. έκδοσης απόδειξης"), Qt::AlignCenter,
         170},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 170},
        {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), Qt::AlignCenter, 80},
        {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), Qt::AlignRight, 95},
        {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), Qt::AlignRight, 95},
        {QStringLiteral("SYNOLIKO_POSO"), QStringLiteral("Ποσό + Φ.Π.Α (EUR)"), Qt::AlignRight,
         140},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::First | DBNavigator::Prior |
                                        DBNavigator::Next | DBNavigator::Last);

    const std::pair<DBText*, const char*> totals[] = {{ui->DBText1, "SYNOLO"},
                                                      {ui->DBText2, "EISPRAKSH"},
                                                      {ui->DBText4, "VAT"},
                                                      {ui->DBText3, "SYNOLIKO_POSO"}};
    for (const auto& [text, column] : totals) {
        makeValueLabel(text);
        text->setDataSource(DataSource2);
        text->setDataField(QString::fromLatin1(column));
    }

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm57::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm57::Button2Click);
}

TForm57::~TForm57() = default;

QString TForm57::listSql(const QString& customerId) {
    return QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, Format(POSO,'0.00') as POSO, "
                          "PERIGRAFH, TAMEIO, Format(SYNOLIKO_POSO,'0.00') as SYNOLIKO_POSO, "
                          "Format(VAT,'0.00') as VAT, ID FROM EISPRAKSH_PELATH WHERE ID=") +
           customerId + QStringLiteral(" ORDER BY HMEROMHNIA DESC");
}

QString TForm57::totalsSql(const QString& customerId) {
    return QStringLiteral("SELECT COUNT(*) AS SYNOLO,Format(SUM(POSO),'0.00') as EISPRAKSH, "
                          "Format(SUM(SYNOLIKO_POSO),'0.00') as SYNOLIKO_POSO, "
                          "Format(SUM(VAT),'0.00') as VAT FROM EISPRAKSH_PELATH WHERE ID=") +
           customerId;
}

void TForm57::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    ui->Label3->setText(CustomerName);
    ui->Label4->setText(CustomerSurname);
    customerNumber(CustomerId); // refused before it reaches a statement
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(listSql(CustomerId));
    ADOQuery1->open();
    ADOQuery2->close();
    ADOQuery2->clearSql();
    ADOQuery2->addSql(totalsSql(CustomerId));
    ADOQuery2->open();
    ui->DBGrid1->setFocus();
}

void TForm57::Button1Click() {
    close();
}

void TForm57::Button2Click() {
    const QString name =
        SaveFile::nameFrom(QStringLiteral("Εισπράξεις ") + CustomerName + u' ' + CustomerSurname);
    const QString path = SaveFile::ask(this, QStringLiteral("Εξαγωγή σε Excel"),
                                       QStringLiteral("Excel (*.xlsx)"), QStringLiteral("xlsx"),
                                       SaveFile::dataFolder(), name + QStringLiteral(".xlsx"));
    if (path.isEmpty())
        return;
    using Spreadsheet::Cell;
    using Spreadsheet::Kind;
    Spreadsheet::Sheet sheet = ui->DBGrid1->sheet();
    sheet.name = name;
    // The sums under the columns they add up, and the count below them, as the screen
    // shows them.
    const auto total = [this](const char* field) {
        const Field* f =
            ADOQuery2->isActive() ? ADOQuery2->findField(QString::fromLatin1(field)) : nullptr;
        return f ? f->displayText() : QString();
    };
    const std::pair<const char*, const char*> sums[] = {
        {"POSO", "EISPRAKSH"}, {"VAT", "VAT"}, {"SYNOLIKO_POSO", "SYNOLIKO_POSO"}};
    QList<Cell> amounts(sheet.titles.size());
    QList<Cell> count(sheet.titles.size());
    const QList<GridColumn>& columns = ui->DBGrid1->gridModel()->columns();
    for (qsizetype c = 0; c < sheet.titles.size(); ++c)
        for (const GridColumn& column : columns)
            for (const auto& [listed, summed] : sums)
                if (column.title == sheet.titles[c] && column.field == QLatin1String(listed))
                    amounts[c] = {total(summed), Kind::Amount};
    if (sheet.titles.size() >= 3) {
        amounts[0] = {QStringLiteral("Σύνολο")};
        // The label runs on over the empty date beside it.
        count[0] = {QStringLiteral("Συνολικός αριθμός αποδείξεων:")};
        count[2] = {total("SYNOLO"), Kind::Count};
    }
    sheet.totals = {amounts, count};
    Spreadsheet::write(path, sheet);
}

void TForm57::FormClose() {
    ADOConnection1->close();
}
