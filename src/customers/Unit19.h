#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm19;
}

// One customer's master data, open for correction from the start: every Post saves and the
// row is edited again at once. Closing drops what was not posted.
class TForm19 : public Screen {
    Q_OBJECT
public:
    explicit TForm19(QWidget* parent = nullptr);
    ~TForm19() override;

    // The customer's number as the catalogue shows it.
    QString CustomerId;

    static QString recordSql(const QString& customerId);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void DBNavigator1Click();
    void Button1Click();

    std::unique_ptr<Ui::TForm19> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
};
