#pragma once

#include "ui/Screen.h"

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm12;
}

// Today's reminder, shown at start above every other window. The caller writes the
// statement into ADOQuery1 before showing it; showing opens the connection and the query.
class TForm12 : public Screen {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
    ~TForm12() override;

    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Button1Click();

    std::unique_ptr<Ui::TForm12> ui;
};
