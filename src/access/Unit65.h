#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class Table;

namespace Ui {
class TForm65;
}

// The access check asked at every start: the program goes on only when the typed code equals
// the stored one. Leaving it any other way than by a match leaves access refused.
class TForm65 : public Screen {
    Q_OBJECT
public:
    explicit TForm65(QWidget* parent = nullptr);
    ~TForm65() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Edit1Change();
    void Button1Click();
    void Button2Click();

    std::unique_ptr<Ui::TForm65> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    QString TypedCode;
};
