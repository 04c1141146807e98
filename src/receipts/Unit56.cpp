#include "receipts/Unit56.h"

#include "ui_Unit56.h"

#include "data/BusyWait.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/Money.h"
#include "data/ReceiptRecord.h"
#include "data/StoreError.h"
#include "data/UserError.h"
#include "receipts/Unit72.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QEvent>
#include <QScopedValueRollback>

#include <cmath>
#include <stdexcept>

namespace {

const QString kNotAccepted = QStringLiteral("Μη αποδεκτή τιμή");
const QString kNotStored = QStringLiteral("Η καταχώρηση δεν έγινε");

// The reasons given after kNotStored for what the store itself cannot say.
const char* const kNoCounter = "Δεν έχει οριστεί η αρίθμηση των αποδείξεων. Ορίστε την από τις "
                               "«Επιλογές», «Ρυθμίσεις», «Καθορισμός αρίθμησης των αποδείξεων».";
const char* const kNoRate = "Δεν έχει οριστεί συντελεστής Φ.Π.Α. Ορίστε τον από τις "
                            "«Επιλογές», «Ρυθμίσεις», «Συντελεστής Φ.Π.Α».";
const char* const kNoCustomer = "Ο πελάτης δεν έχει αριθμό πελάτη. Κλείστε την οθόνη και "
                                "επιλέξτε ξανά τον πελάτη από τον κατάλογο.";

QString notANumberText(const QString& typed) {
    return QStringLiteral("Το ποσό \"%1\" δεν είναι έγκυρος αριθμός. Γράψτε το με κόμμα για "
                          "δεκαδικά (π.χ 12,50).")
        .arg(typed);
}

} // namespace

TForm56::TForm56(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm56>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), ADOTable2(new Table(this)), DataSource1(new DataSource(this)),
      DataSource2(new DataSource(this)), ADOCommand1(new Command(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOTable2->setObjectName(QStringLiteral("ADOTable2"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));
    for (QLabel* value : {ui->Label3, ui->Label4, static_cast<QLabel*>(ui->DBText2)})
        makeValueLabel(value);
    makeRequiredMark(ui->Label6);
    makeRequiredMark(ui->Label16);
    ui->Label16->setText(QStringLiteral("* EUR"));

    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("LAST_APODEIKSH"));
    ADOTable2->setConnection(ADOConnection1);
    ADOTable2->setTableName(QStringLiteral("SYNTELESTHS_VAT"));
    DataSource1->setDataSet(ADOTable1);
    DataSource2->setDataSet(ADOTable2);
    ui->DBText2->setDataSource(DataSource1);
    ui->DBText2->setDataField(QStringLiteral("LAST"));
    ui->DBText1->setDataSource(DataSource2);
    ui->DBText1->setDataField(QStringLiteral("VAT_RATIO"));
    ADOCommand1->setConnection(ADOConnection1);

    connectGuarded(ui->Edit3, &QLineEdit::textChanged, this, &TForm56::Edit3Change);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm56::Edit2Change);
    connectGuarded(ui->Edit4, &QLineEdit::textChanged, this, &TForm56::Edit4Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm56::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm56::Button2Click);
    setCancelButton(ui->Button2);

    runGuarded(this, [this] { FormCreate(); });
}

TForm56::~TForm56() = default;

void TForm56::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    ADOTable2->close();
    ADOTable2->open();
}

void TForm56::FormShow() {
    ui->Label3->setText(CustomerName);
    ui->Label4->setText(CustomerSurname);
    ui->Edit3->setFocus();
}

void TForm56::FormClose() {
    ADOConnection1->close();
}

void TForm56::changeEvent(QEvent* event) {
    Screen::changeEvent(event);
    // Back at the screen: the number may have been given meanwhile by another copy. Not in
    // the middle of issuing, and never while a wait for the file is painting the screens.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_issuing &&
        ADOConnection1->isConnected() && !BusyWait::isWaiting())
        runGuarded(this, [this] { ReadReceiptNumber(); });
}

void TForm56::ReadReceiptNumber() {
    ADOTable1->close();
    ADOTable1->open();
}

QString TForm56::numberChangedText(const QString& given, const QString& shown) {
    if (given.toLongLong() > shown.toLongLong())
        return QStringLiteral("Η απόδειξη καταχωρήθηκε με αριθμό %1, γιατί ο αριθμός %2 που "
                              "έδειχνε η οθόνη δόθηκε στο μεταξύ από άλλο αντίγραφο του "
                              "προγράμματος.")
            .arg(given, shown);
    return QStringLiteral("Η απόδειξη καταχωρήθηκε με αριθμό %1 και όχι %2 που έδειχνε η οθόνη, "
                          "γιατί η αρίθμηση των αποδείξεων άλλαξε στο μεταξύ.")
        .arg(given, shown);
}

QString TForm56::storedNotPrintedText(const QString& number, const QString& error) {
    return QStringLiteral("Η απόδειξη με αριθμό %1 καταχωρήθηκε, αλλά δεν εκτυπώθηκε:\n%2\n"
                          "Μπορείτε να την εκτυπώσετε από τις «Αποδείξεις που εκδόθηκαν».")
        .arg(number, error);
}

void TForm56::UpdateIssueButton() {
    const QString amount = ui->Edit3->text().trimmed();
    const QString description = ui->Edit2->text().trimmed();
    const QString fund = ui->Edit4->text().trimmed();
    ui->Button1->setEnabled(!amount.isEmpty() && !description.isEmpty() &&
                            Global::IsCleanText(description) && Global::IsCleanText(fund));
}

void TForm56::EmptyInputs() {
    ui->Edit3->clear();
    ui->Edit2->clear();
    ui->Edit4->clear();
    ui->Edit3->setFocus(); // ready for the next try
}

QString TForm56::StoreReceipt(const Money::Receipt& receipt) {
    // Opened first: a record that cannot be written stops the receipt before it is stored.
    ReceiptRecord::Writer record(Connection::dataSourceOf(ADOConnection1->connectionString()));
    Transaction transaction(*ADOConnection1);
    // The counter as it stands now, inside the write lock: another copy of the program may
    // have issued a receipt since this screen opened.
    ReadReceiptNumber();
    const QString number =
        ADOTable1->isEmpty()
            ? QString()
            : ADOTable1->fieldByName(QStringLiteral("LAST"))->displayText().trimmed();
    if (!Global::IsWholeNumber(number))
        throw UserError(QString::fromUtf8(kNoCounter));
    // The customer's number goes into the statement unquoted.
    if (!Global::IsWholeNumber(CustomerId))
        throw UserError(QString::fromUtf8(kNoCustomer));

    const Money::Entry entry{CustomerId,
                             CustomerName,
                             CustomerSurname,
                             number,
                             ui->Edit2->text().trimmed(),
                             ui->Edit4->text().trimmed()};
    for (const QString& statement :
         {Money::collectionInsert(entry, receipt), Money::receiptInsert(entry, receipt),
          QStringLiteral("UPDATE LAST_APODEIKSH SET [LAST]=[LAST]+1")}) {
        ADOCommand1->setCommandText(statement);
        ADOCommand1->execute();
    }
    const QByteArray line = ReceiptRecord::issuedLine(*ADOConnection1, number.toLongLong());
    transaction.commit();
    // Stored and counted; a record that fails now is completed from the file at the next start.
    try {
        record.append(line);
    } catch (const std::exception& e) {
        Messages::error(this, QStringLiteral("Η απόδειξη με αριθμό %1 καταχωρήθηκε. ").arg(number) +
                                  StoreError::forPerson(e));
    }
    return number;
}

void TForm56::PrintReceipt(const QString& number) {
    TForm72::printNumber(number.toInt());
}

void TForm56::Button1Click() {
    if (!ui->Button1->isEnabled())
        return;
    const QScopedValueRollback<bool> issuing(m_issuing, true);

    const QString typed = ui->Edit3->text().trimmed();
    const std::optional<double> amount = Money::parseTyped(typed);
    if (!amount) {
        // Refused where it was typed, to be put right there.
        Messages::information(this, kNotStored + u'\r' + notANumberText(typed));
        ui->Edit3->setFocus();
        ui->Edit3->selectAll();
        return;
    }
    if (!(*amount > 0) || !std::isfinite(*amount)) {
        Messages::information(this, kNotAccepted);
        EmptyInputs();
        return;
    }
    QString shown, number;
    try {
        if (m_failed) {
            // The file may have been put right since the last try failed (made writable, the
            // VAT rate set); a connection opened while it could not be written stays so.
            FormCreate();
            m_failed = false;
        }
        shown = ui->DBText2->text().trimmed();
        const std::optional<double> rate = Money::parseTyped(ui->DBText1->text().trimmed());
        if (!rate)
            throw UserError(QString::fromUtf8(kNoRate));
        const Money::Receipt receipt = Money::work(*amount, *rate);
        if (!receipt.isAcceptable()) {
            Messages::information(this, kNotAccepted);
            EmptyInputs();
            return;
        }
        number = StoreReceipt(receipt);
    } catch (const std::exception& e) {
        // Nothing was stored: what was typed stays for another try.
        Messages::information(this, kNotStored + u'\r' + StoreError::forPerson(e));
        m_failed = true;
        return;
    }

    // Stored and counted: from here on nothing may suggest that the receipt was not made.
    ADOConnection1->close();
    // The screen shows the number given while the printout runs.
    ui->DBText2->setText(number);
    if (!shown.isEmpty() && number != shown)
        Messages::information(this, numberChangedText(number, shown));
    try {
        PrintReceipt(number);
    } catch (const std::exception& e) {
        Messages::error(this, storedNotPrintedText(number, StoreError::forPerson(e)));
    }
    EmptyInputs();
    close();
}

void TForm56::Button2Click() {
    close();
}
