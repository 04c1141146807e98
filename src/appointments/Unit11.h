#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Table;

namespace Ui {
class TForm11;
}

// The reminders book: dated notes kept through the date and text fields, the list of dates
// (latest first) and the navigator bar. Only the navigator's post, or moving to another
// reminder, saves; closing drops an unposted edit.
class TForm11 : public Screen {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);
    ~TForm11() override;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Button1Click();

    std::unique_ptr<Ui::TForm11> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;
};
