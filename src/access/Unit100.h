#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Command;
class Connection;

namespace Ui {
class TForm100;
}

// The first definition of the access code, shown at start while the shipped code is still
// stored. It has no way out but defining a code.
class TForm100 : public Screen {
    Q_OBJECT
public:
    explicit TForm100(QWidget* parent = nullptr);
    ~TForm100() override;

protected:
    // Refuses every close until a code has been stored.
    bool FormCloseQuery() override { return CodeStored; }
    void FormClose() override;

private:
    void FormCreate();
    void Edit2Change();
    void Edit3Change() { Edit2Change(); }
    void Button1Click();

    std::unique_ptr<Ui::TForm100> ui;
    Connection* ADOConnection1;
    Command* ADOCommand1;
    QString NewCode;
    QString ConfirmedCode;
    bool CodeStored = false;
};
