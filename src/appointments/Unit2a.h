#pragma once

#include "ui/Screen.h"

#include <QString>

#include <array>
#include <memory>

class Connection;
class DataSource;
class DBEdit;
class QLabel;
class Query;

namespace Ui {
class TForm2a;
}

// One day of the appointment book: 28 half-hour slots from 08:00 to 22:00, each a line of
// free text. The opener writes the date into Label83 and opens ADOQuery1 on the day's row;
// only the navigator's post saves, and closing drops an unposted edit.
class TForm2a : public Screen {
    Q_OBJECT
public:
    static constexpr int kSlots = 28;

    explicit TForm2a(QWidget* parent = nullptr);
    ~TForm2a() override;

    // Slot k (1-28) starts at 08:00 plus 30·(k−1) minutes.
    static QString slotCaption(int k); // "08:00 - 08:30"
    static QString slotColumn(int k);  // "0800-0830"

    QLabel* Label83;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;

protected:
    void FormClose() override;

private:
    void Button29Click();

    std::unique_ptr<Ui::TForm2a> ui;
    std::array<QLabel*, kSlots + 1> Panel{}; // 1-based, as the slots are numbered
    std::array<DBEdit*, kSlots + 1> DBEdit_{};
};
