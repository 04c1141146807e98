#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Command;
class Connection;
class DataSource;
class Table;

namespace Money {
struct Receipt;
}

namespace Ui {
class TForm56;
}

// Issues one receipt to one customer: the collection and the receipt row under the counter's
// number, the counter one higher, all in one transaction; then the printout, and the screen
// closes.
class TForm56 : public Screen {
    Q_OBJECT
public:
    explicit TForm56(QWidget* parent = nullptr);
    ~TForm56() override;

    // Set by the catalogue before showing: the current customer as displayed, trimmed.
    QString CustomerId;
    QString CustomerName;
    QString CustomerSurname;

    // What the desk is told when the receipt was stored but its printout failed.
    static QString storedNotPrintedText(const QString& number, const QString& error);
    // What the desk is told when the receipt got another number than the one shown.
    static QString numberChangedText(const QString& given, const QString& shown);

protected:
    void FormShow() override;
    void FormClose() override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void Edit3Change() { UpdateIssueButton(); }
    void Edit2Change() { UpdateIssueButton(); }
    void Edit4Change() { UpdateIssueButton(); }
    void UpdateIssueButton();
    void Button1Click();
    void Button2Click();

    // The counter as it stands now; another copy of the program may have issued receipts.
    void ReadReceiptNumber();
    // Stores the receipt under the number the counter holds now; returns that number.
    QString StoreReceipt(const Money::Receipt& receipt);
    void PrintReceipt(const QString& number);
    void EmptyInputs();

    std::unique_ptr<Ui::TForm56> ui;
    Connection* ADOConnection1;
    Table* ADOTable1; // LAST_APODEIKSH
    Table* ADOTable2; // SYNTELESTHS_VAT
    DataSource* DataSource1;
    DataSource* DataSource2;
    Command* ADOCommand1;
    bool m_issuing = false;
    bool m_failed = false; // the last try failed: the next one opens the file afresh
};
