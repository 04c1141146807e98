#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Table;

namespace Ui {
class TForm6;
}

// The notes book: titled notes of any length, listed by title and edited in place through
// the title, the text and the navigator bar; printed one by one or all together from the
// print screen.
class TForm6 : public Screen {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void UpdatePrintButton();
    void DBNavigator1Click();
    void Button1Click();
    void Button2Click();

    std::unique_ptr<Ui::TForm6> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;
};
