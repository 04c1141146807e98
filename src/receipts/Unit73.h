#pragma once

#include "receipts/SettingsScreen.h"

#include <memory>

namespace Ui {
class TForm73;
}

// The salon's data printed at the head of every receipt, with a preview of the receipt as
// stored (number 0, so the body is empty).
class TForm73 : public SettingsScreen {
    Q_OBJECT
public:
    explicit TForm73(QWidget* parent = nullptr);
    ~TForm73() override;

private:
    void Button1Click();
    void Button2Click();

    std::unique_ptr<Ui::TForm73> ui;
};
