#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Command;
class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm71;
}

// The register of every receipt issued, valid or cancelled: three sorts, a reprint and the
// cancellation, which marks the receipt not valid and removes its collection.
class TForm71 : public Screen {
    Q_OBJECT
public:
    explicit TForm71(QWidget* parent = nullptr);
    ~TForm71() override;

    static QString countText(int count); // "Βρέθηκαν 3 αποδείξεις"
    static QString cancelQuestion(const QString& number); // asked before cancelling
    static QString alreadyCancelledText(const QString& number);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    void UpdateReceiptButtons();
    // The current row's number as shown; refused unless it is a plain whole number.
    QString CurrentReceiptNumber() const;
    // Cancels the receipt when the file still holds it as valid; false when it does not.
    bool CancelReceipt(const QString& number);
    void ReloadList();

    std::unique_ptr<Ui::TForm71> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    Query* ADOQuery2; // the receipt's validity as the file holds it, read before cancelling
    DataSource* DataSource1;
    Command* ADOCommand1;
};
