#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;
class Table;

namespace Ui {
class TFORM17A;
}

// One customer's visits: a new visit typed into the entry fields and saved by Post, one after
// another, and the customer's visits listed below, oldest first, with their count.
class TFORM17A : public Screen {
    Q_OBJECT
public:
    explicit TFORM17A(QWidget* parent = nullptr);
    ~TFORM17A() override;

    // Set by the catalogue before showing, from its current row.
    QString CustomerId;
    QString CustomerName;
    QString CustomerSurname;

    static QString visitsSql(const QString& customerId);
    static QString countText(int count); // "Βρέθηκαν 3 επισκέψεις"

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void FormCreate();
    void DataSource1UpdateData();
    void DBNavigator1Click();
    void DBNavigator2Click();
    void Button1Click();

    void ShowVisitCount();
    void StampCustomer();

    std::unique_ptr<Ui::TFORM17A> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    Query* ADOQuery1;
    DataSource* DataSource1;
    DataSource* DataSource2;
};
