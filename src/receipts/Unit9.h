#pragma once

#include "receipts/SettingsScreen.h"

#include <memory>

namespace Ui {
class TForm9;
}

// The number the next receipt takes, defined once: the counter's row is made by the first
// post, and once the screen closes with it stored the main window hides the command.
class TForm9 : public SettingsScreen {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
    ~TForm9() override;

private:
    void Button2Click();

    std::unique_ptr<Ui::TForm9> ui;
};
