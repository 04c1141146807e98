#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm57;
}

// Every collection of one customer, newest first, with their count and sums, also saved as
// an Excel workbook. Reads only.
class TForm57 : public Screen {
    Q_OBJECT
public:
    explicit TForm57(QWidget* parent = nullptr);
    ~TForm57() override;

    // Set by the catalogue before showing: the current customer as displayed, trimmed.
    QString CustomerId;
    QString CustomerName;
    QString CustomerSurname;

    static QString listSql(const QString& customerId);
    static QString totalsSql(const QString& customerId);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Button1Click();
    void Button2Click(); // the workbook

    std::unique_ptr<Ui::TForm57> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1; // the list
    Query* ADOQuery2; // its totals
    DataSource* DataSource1;
    DataSource* DataSource2;
};
