#include "receipts/Unit71.h"

#include "ui_Unit71.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/ReceiptRecord.h"
#include "data/StoreError.h"
#include "data/UserError.h"
#include "receipts/Unit72.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QHeaderView>

#include <stdexcept>

namespace {

const QString kRegisterSql = QStringLiteral(
    "SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, Format(POSO,'0.00') AS POSO, "
    "TAMEIO, Format(SYNOLIKO_POSO,'0.00') AS SYNOLIKO_POSO, Format(VAT,'0.00') AS VAT, PERIGRAFH, "
    "EGKYRH FROM APODEIKSEIS ORDER BY HMEROMHNIA");

} // namespace

TForm71::TForm71(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm71>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), ADOQuery2(new Query(this)), DataSource1(new DataSource(this)),
      ADOCommand1(new Command(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));
    makeValueLabel(ui->Label1);

    ADOQuery1->setConnection(ADOConnection1);
    ADOQuery2->setConnection(ADOConnection1);
    ADOCommand1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("AR_APODEIKSHS"), QStringLiteral("Αριθμός απόδειξης"), Qt::AlignCenter,
         130},
        {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερ. έκδοσης απόδειξης"), Qt::AlignCenter,
         175},
        {QStringLiteral("ONOMA"), QStringLiteral("Όνομα πελάτη"), Qt::AlignLeft, 90},
        {QStringLiteral("EPWNYMO"), QStringLiteral("Επώνυμο πελάτη"), Qt::AlignLeft, 115},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 150},
        {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), Qt::AlignRight, 80},
        {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), Qt::AlignRight, 80},
        {QStringLiteral("SYNOLIKO_POSO"), QStringLiteral("Ποσό + Φ.Π.Α (EUR)"), Qt::AlignRight,
         125},
        {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), Qt::AlignCenter, 70},
        {QStringLiteral("EGKYRH"), QStringLiteral("Έγκυρη"), Qt::AlignCenter, 60},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    // The current row's number and validity as shown; the buttons read the row through them.
    ui->DBText1->setDataSource(DataSource1);
    ui->DBText1->setDataField(QStringLiteral("AR_APODEIKSHS"));
    ui->DBText2->setDataSource(DataSource1);
    ui->DBText2->setDataField(QStringLiteral("EGKYRH"));

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::First | DBNavigator::Prior |
                                        DBNavigator::Next | DBNavigator::Last);

    // Whichever way another row becomes current (a click, a key, the navigator, a sort, a
    // reload), the data set says so, and the buttons follow it.
    connectGuarded(ADOQuery1, &DataSet::afterScroll, this, &TForm71::UpdateReceiptButtons);
    connectGuarded(ADOQuery1, &DataSet::afterClose, this, &TForm71::UpdateReceiptButtons);

    using Handler = void (TForm71::*)();
    const std::pair<QRadioButton*, Handler> sorts[] = {
        {ui->RadioButton1, &TForm71::RadioButton1Click},
        {ui->RadioButton2, &TForm71::RadioButton2Click},
        {ui->RadioButton3, &TForm71::RadioButton3Click}};
    for (const auto& [radio, handler] : sorts)
        connectGuarded(radio, &QRadioButton::toggled, this, [this, handler = handler](bool on) {
            if (on)
                (this->*handler)();
        });

    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm71::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm71::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm71::Button3Click);
    setCancelButton(ui->Button3);
}

TForm71::~TForm71() {
    // Closing tells the buttons, which must still be there: a screen ended over its open
    // list (the program ending while it shows) would otherwise reach them after they went.
    ADOConnection1->close();
}

QString TForm71::countText(int count) {
    return QStringLiteral("Βρέθηκαν ") + QString::number(count) + QStringLiteral(" αποδείξεις");
}

QString TForm71::cancelQuestion(const QString& number) {
    return QStringLiteral("Να ακυρώσω την απόδειξη με αριθμό") + u'\r' + number + u';';
}

QString TForm71::alreadyCancelledText(const QString& number) {
    return QStringLiteral("Η απόδειξη με αριθμό %1 έχει ήδη ακυρωθεί ή δεν υπάρχει πια. "
                          "Δεν έγινε καμία αλλαγή.")
        .arg(number);
}

void TForm71::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(kRegisterSql);
    ADOQuery1->open();
    ui->RadioButton1->setChecked(true);
    ADOQuery1->setSort(QStringLiteral("HMEROMHNIA ASC"));
    const int count = ADOQuery1->recordCount();
    ui->Label1->setText(countText(count));
    ui->Button1->setEnabled(count > 0);
    ui->Button2->setEnabled(count > 0);
    UpdateReceiptButtons();
    ui->DBGrid1->setFocus();
}

void TForm71::FormClose() {
    ADOConnection1->close();
}

void TForm71::UpdateReceiptButtons() {
    // Cancel and reprint only for a valid current row; with no row there is nothing to offer.
    const bool offered = ADOQuery1->isActive() && ADOQuery1->recordCount() > 0 &&
                         ui->DBText2->text().trimmed() != u"False";
    ui->Button1->setEnabled(offered);
    ui->Button2->setEnabled(offered);
}

void TForm71::RadioButton1Click() {
    ADOQuery1->setSort(QStringLiteral("HMEROMHNIA ASC"));
    UpdateReceiptButtons();
}

void TForm71::RadioButton2Click() {
    ADOQuery1->setSort(QStringLiteral("AR_APODEIKSHS ASC"));
    UpdateReceiptButtons();
}

void TForm71::RadioButton3Click() {
    ADOQuery1->setSort(QStringLiteral("EGKYRH ASC"));
    UpdateReceiptButtons();
}

QString TForm71::CurrentReceiptNumber() const {
    const QString number = ui->DBText1->text().trimmed();
    // It goes into the statements unquoted.
    if (!Global::IsWholeNumber(number))
        throw UserError(QStringLiteral("Δεν έχει επιλεγεί απόδειξη."));
    return number;
}

bool TForm71::CancelReceipt(const QString& number) {
    // Opened first: a record that cannot be written stops the cancellation before it is made.
    ReceiptRecord::Writer record(Connection::dataSourceOf(ADOConnection1->connectionString()));
    Transaction transaction(*ADOConnection1);
    // Read inside the write lock: another copy of the program may have cancelled it since
    // the list was read.
    ADOQuery2->close();
    ADOQuery2->clearSql();
    ADOQuery2->addSql(QStringLiteral("SELECT COUNT(*) AS VALID FROM APODEIKSEIS WHERE "
                                     "AR_APODEIKSHS=") +
                      number + QStringLiteral(" AND EGKYRH=TRUE"));
    ADOQuery2->open();
    const bool valid = ADOQuery2->field(0)->asInteger() > 0;
    ADOQuery2->close();
    if (!valid)
        return false;
    for (const QString& statement :
         {QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=") + number,
          QStringLiteral("UPDATE APODEIKSEIS SET EGKYRH=FALSE WHERE AR_APODEIKSHS=") + number}) {
        ADOCommand1->setCommandText(statement);
        ADOCommand1->execute();
    }
    transaction.commit();
    try {
        record.append(ReceiptRecord::cancelledLine(number.toLongLong(), Clock::today()));
    } catch (const std::exception& e) {
        Messages::error(this, QStringLiteral("Η απόδειξη με αριθμό %1 ακυρώθηκε. ").arg(number) +
                                  StoreError::forPerson(e));
    }
    return true;
}

void TForm71::ReloadList() {
    // The list comes back in the statement's order; the radio buttons keep their state.
    ADOConnection1->close();
    ADOQuery1->close();
    ADOConnection1->open();
    ADOQuery1->open();
    // Another copy of the program may have issued receipts meanwhile.
    ui->Label1->setText(countText(ADOQuery1->recordCount()));
}

void TForm71::Button1Click() {
    if (!ui->Button1->isEnabled())
        return;
    const QString number = CurrentReceiptNumber();
    if (!Messages::question(this, cancelQuestion(number)))
        return;
    const bool cancelled = CancelReceipt(number);
    ReloadList();
    UpdateReceiptButtons();
    if (!cancelled)
        Messages::information(this, alreadyCancelledText(number));
}

void TForm71::Button2Click() {
    if (!ui->Button2->isEnabled())
        return;
    const QString number = CurrentReceiptNumber();
    bool fits = false;
    const int receipt = number.toInt(&fits);
    if (!fits)
        throw UserError(QStringLiteral("Ο αριθμός της απόδειξης είναι εκτός ορίων."));
    TForm72::printNumber(receipt);
}

void TForm71::Button3Click() {
    close();
}
