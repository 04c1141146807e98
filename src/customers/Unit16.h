#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Table;

namespace Ui {
class TForm16;
}

// Registration of new customers: opens on an empty row, Post saves it and the file gives it
// its number, Insert starts the next one. Closing drops a row that was not posted.
class TForm16 : public Screen {
    Q_OBJECT
public:
    explicit TForm16(QWidget* parent = nullptr);
    ~TForm16() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Button1Click();

    std::unique_ptr<Ui::TForm16> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;
};
