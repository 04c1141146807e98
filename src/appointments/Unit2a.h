#pragma once

#include "data/AppointmentBook.h"
#include "ui/Screen.h"

#include <QString>

#include <array>
#include <memory>

class Connection;
class DataSource;
class DBEdit;
class QDate;
class QLabel;
class Query;
class RvDataSetConnection;
class RvProject;

namespace Ui {
class TForm2a;
}

// One day of the appointment book: 28 half-hour slots from 08:00 to 22:00, each a line of
// free text. The opener writes the date into Label83 and opens ADOQuery1 on the day's row;
// only the navigator's post saves, and closing drops an unposted edit. The day sheet prints
// the stored slots on one page (HMERA.RAV), the free ones as lines to write in.
class TForm2a : public Screen {
    Q_OBJECT
public:
    static constexpr int kSlots = AppointmentBook::kSlots;

    explicit TForm2a(QWidget* parent = nullptr);
    ~TForm2a() override;

    // Slot k (1-28) starts at 08:00 plus 30·(k−1) minutes.
    static QString slotCaption(int k); // "08:00 - 08:30"
    static QString slotColumn(int k);  // "0800-0830"
    // The slot number of a column name; 0 for none.
    static int slotOfColumn(const QString& column);

    // The day's 28 slots as rows of the day sheet: ORA, the slot's caption, and RANTEBOU,
    // its text.
    static QString sheetSql(const QDate& day);

    // Puts the cursor into slot k (1-28), as when the day is opened on an appointment.
    void focusSlot(int k);

    QLabel* Label83;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
    Query* ADOQuery2; // the day sheet
    RvDataSetConnection* RvDataSetConnection2a;
    RvProject* RvProject2a;

protected:
    void FormClose() override;

private:
    void Button29Click();
    void Button30Click(); // the day sheet
    void PrintDaySheet();

    std::unique_ptr<Ui::TForm2a> ui;
    std::array<QLabel*, kSlots + 1> Panel{}; // 1-based, as the slots are numbered
    std::array<DBEdit*, kSlots + 1> DBEdit_{};
};
