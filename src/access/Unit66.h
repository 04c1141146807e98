#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Command;
class Connection;
class Table;

namespace Ui {
class TForm66;
}

// Replaces the access code once the current one has been given.
class TForm66 : public Screen {
    Q_OBJECT
public:
    explicit TForm66(QWidget* parent = nullptr);
    ~TForm66() override;

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Edit1Change() { ValidateCodes(); }
    void Edit2Change() { ValidateCodes(); }
    void Edit3Change() { ValidateCodes(); }
    void ValidateCodes();
    void Button1Click();
    void Button2Click();

    std::unique_ptr<Ui::TForm66> ui;
    Connection* ADOConnection1;
    Table* ADOTable1;
    Command* ADOCommand1;
    QString StoredCode;
    QString OldCode;
    QString NewCode;
    QString ConfirmedCode;
};
