#pragma once

#include "receipts/SettingsScreen.h"

#include <QString>

#include <memory>

namespace Ui {
class TForm68;
}

// The VAT rate in percent. Every successful post says so and ends the program, which is
// started again to work with the new rate.
class TForm68 : public SettingsScreen {
    Q_OBJECT
public:
    explicit TForm68(QWidget* parent = nullptr);
    ~TForm68() override;

    // The three lines shown after a post, joined by a carriage return.
    static QString storedMessage();

private:
    void Button2Click();
    void ADOTable1AfterPost();

    std::unique_ptr<Ui::TForm68> ui;
};
