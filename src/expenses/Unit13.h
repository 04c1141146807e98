#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Table;

namespace Ui {
class TForm13;
}

// The expense book: every operating expense with its date, value, VAT and description,
// newest first. The fields edit the grid's current row; only the navigator's post, or
// moving to another row, saves, and closing drops an unposted edit.
class TForm13 : public Screen {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
    ~TForm13() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Button1Click();

    std::unique_ptr<Ui::TForm13> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;
};
