#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Table;

namespace Ui {
class TForm10;
}

// Useful phone numbers: a small address book edited through its fields, the list ordered by
// full name and the navigator bar.
class TForm10 : public Screen {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Button1Click();

    std::unique_ptr<Ui::TForm10> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;
};
