#pragma once

#include "ui/Screen.h"

#include <QtGlobal>

#include <array>
#include <memory>

class Command;
class Connection;
class QFrame;
class QLabel;
class Query;

namespace Ui {
class TForm1a;
}

// The appointment book's month: a grid of day cells, Monday first, with the number of booked
// half-hour slots under each day. A click on a day number opens that day's page.
class TForm1a : public Screen {
    Q_OBJECT
public:
    static constexpr int kCells = 37;
    static constexpr int kFirstYear = 2008;
    static constexpr int kLastYear = 2035;

    explicit TForm1a(QWidget* parent = nullptr);
    ~TForm1a() override;

    // The calendar's today, read from the clock once, when the window is made.
    quint16 TodayYear = 0;
    quint16 TodayMonth = 0;
    quint16 TodayDay = 0;

protected:
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void GoToToday();
    void BuildMonthGrid();
    void FirstWeekday();
    void RefreshDayCounts();
    void SetDayCount(int day, int count);
    void ClearDayCount(int day);
    // Makes sure the day's row exists, shows its page and recounts the month afterwards.
    void OpenDaySchedule();

    QString SelectedYearText;
    bool LeapYear = false;
    quint16 DaysInMonth = 0;
    quint16 WeekdayOfFirst = 0;
    quint16 DayCounter = 0;

private:
    void FormCreate();
    void Button1Click();
    void Button2Click();
    void ComboBox1Change();
    void ComboBox2Change();
    // The click handler of every day number; k is the cell (1-37).
    void LabelDClick(int k);

    void buildCells();
    void setDayColour(int k, const QColor& colour);
    // The cell whose day number reads `day`, the first of 1-37; 0 when none does.
    int cellOfDay(int day) const;

    std::unique_ptr<Ui::TForm1a> ui;
    std::array<QLabel*, kCells + 1> LabelD{}; // 1-based, as the cells are numbered
    std::array<QLabel*, kCells + 1> LabelR{};
    Connection* ADOConnection1;
    Query* ADOQuery1;
    Command* ADOCommand1;
};
