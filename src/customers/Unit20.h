#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm20;
}

// One customer's free-text history. Typing starts an edit, Post saves it; closing drops
// what was typed since the last Post.
class TForm20 : public Screen {
    Q_OBJECT
public:
    explicit TForm20(QWidget* parent = nullptr);
    ~TForm20() override;

    // Set by the catalogue before showing, from its current row as displayed.
    QString CustomerId;
    QString CustomerName;
    QString CustomerSurname;
    QString CustomerBirthDate;

    static QString historySql(const QString& customerId);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Button1Click();

    std::unique_ptr<Ui::TForm20> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
};
