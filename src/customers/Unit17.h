#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class TForm18;

namespace Ui {
class TForm17;
}

// The door to the customers already stored: chooses which of them the catalogue lists (by the
// first letters of the surname, by birth dates, or all) and shows the catalogue over itself.
class TForm17 : public Screen {
    Q_OBJECT
public:
    explicit TForm17(QWidget* parent = nullptr);
    ~TForm17() override;

    static QString columnList(); // the SELECT of the customer columns, up to the table name

private:
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    void CheckDateInputs();
    void ShowCatalogue(const QString& filter, const QString& sql);

    std::unique_ptr<Ui::TForm17> ui;
};
