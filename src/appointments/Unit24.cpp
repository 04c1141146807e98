#include "appointments/Unit24.h"

#include "ui_Unit24.h"

#include "appointments/Unit2a.h"
#include "data/AppointmentBook.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "data/Values.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QHeaderView>

#include <stdexcept>

TForm24::TForm24(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm24>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    makeValueLabel(ui->Label2);

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("MERA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 90},
        {QStringLiteral("HMERA"), QStringLiteral("Ημέρα"), Qt::AlignLeft, 85},
        {QStringLiteral("ORA"), QStringLiteral("Ώρα"), Qt::AlignCenter, 100},
        {QStringLiteral("KEIMENO"), QStringLiteral("Ραντεβού"), Qt::AlignLeft, 400},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    ui->Button1->setEnabled(false);
    ui->Button2->setEnabled(false);
    setCancelButton(ui->Button3);
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm24::Edit1Change);
    // Enter in the text searches; Enter or a double-click on a row opens its day.
    connectGuarded(ui->Edit1, &QLineEdit::returnPressed, this, &TForm24::Button1Click);
    connectGuarded(ui->DBGrid1, &QAbstractItemView::activated, this, &TForm24::DBGrid1DblClick);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm24::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm24::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm24::Button3Click);
}

TForm24::~TForm24() = default;

QString TForm24::searchSql(const QString& text) {
    return AppointmentBook::searchSql(text);
}

QString TForm24::countText(int count) {
    return QStringLiteral("Βρέθηκαν ") + QString::number(count) + QStringLiteral(" ραντεβού");
}

void TForm24::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    if (!SearchText.trimmed().isEmpty()) {
        ui->Edit1->setText(SearchText.trimmed());
        Search();
        ui->DBGrid1->setFocus();
    } else {
        ui->Edit1->setFocus();
    }
}

void TForm24::FormClose() {
    ADOConnection1->close();
}

void TForm24::Edit1Change() {
    ui->Button1->setEnabled(!ui->Edit1->text().trimmed().isEmpty());
}

void TForm24::Button1Click() {
    if (ui->Edit1->text().trimmed().isEmpty())
        return;
    Search();
    if (!ADOQuery1->isEmpty())
        ui->DBGrid1->setFocus();
}

void TForm24::Search() {
    const QString text = ui->Edit1->text().trimmed();
    if (!ADOConnection1->isConnected())
        ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(searchSql(text));
    ui->Button2->setEnabled(false);
    ui->Label2->clear();
    ADOQuery1->open();
    const int count = ADOQuery1->recordCount();
    ui->Label2->setText(countText(count));
    ui->Button2->setEnabled(count > 0);
}

void TForm24::Button2Click() {
    OpenDay();
}

void TForm24::DBGrid1DblClick() {
    OpenDay();
}

void TForm24::OpenDay() {
    if (!ADOQuery1->isActive() || ADOQuery1->currentRow() < 0)
        return;
    const QDate day = ADOQuery1->fieldByName(QStringLiteral("MERA"))->value().toDate();
    const int slot = int(ADOQuery1->fieldByName(QStringLiteral("SLOT"))->asInteger());
    if (!day.isValid())
        throw UserError(QStringLiteral("Η ημερομηνία αυτού του ραντεβού δεν είναι έγκυρη."));

    // The day opens as from the month calendar, on its stored row.
    const QString shown = Values::displayText(FieldType::Date, day);
    QString literal = shown;
    Global::ToJetDate(literal);
    {
        TForm2a page(this);
        page.Label83->setText(shown);
        page.ADOConnection1->setUp(Global::ConnectionString);
        page.ADOQuery1->close();
        page.ADOQuery1->clearSql();
        page.ADOQuery1->addSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") +
                               literal);
        page.ADOQuery1->open();
        if (page.ADOQuery1->isEmpty()) {
            page.ADOQuery1->close();
            page.ADOConnection1->close();
            Messages::information(this, QStringLiteral("Η ημέρα %1 δεν βρίσκεται πια στο βιβλίο "
                                                       "ραντεβού.")
                                            .arg(shown));
        } else {
            page.focusSlot(slot);
            Modal::exec(page);
        }
    }
    // What was changed on the day shows in the list at once.
    Search();
    FindRow(day, slot);
}

void TForm24::FindRow(const QDate& day, int slot) {
    const Field* dayField = ADOQuery1->findField(QStringLiteral("MERA"));
    const Field* slotField = ADOQuery1->findField(QStringLiteral("SLOT"));
    if (!dayField || !slotField)
        return;
    for (int row = 0; row < ADOQuery1->rowCount(); ++row) {
        if (ADOQuery1->cell(row, dayField->index()).toDate() == day &&
            ADOQuery1->cell(row, slotField->index()).toInt() == slot) {
            ADOQuery1->moveTo(row);
            return;
        }
    }
    if (ADOQuery1->rowCount() > 0)
        ADOQuery1->first();
}

void TForm24::Button3Click() {
    close();
}
