#pragma once

#include "ui/Screen.h"

#include <QDate>
#include <QString>

#include <memory>

namespace Ui {
class TForm8;
}

// Calendar calculations: a month calendar, the date of Easter for a year and the number of
// days between two dates, answered at once as the inputs change. No data file is used.
class TForm8 : public Screen {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    // The clock's date when the screen was made.
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 Day = 0;

    // "είναι 27 Απριλίου": Orthodox Easter Sunday of the year in the Gregorian calendar,
    // taken 13 days after the Julian one (true for 1900 to 2099); empty outside 1583-2100.
    static QString EasterText(int year);
    // "Αριθμός ημερών=365"; empty when "to" is not after "from".
    static QString DaysText(const QDate& from, const QDate& to);

private:
    void FormCreate();
    void find_pasxa();
    void DaysBetweenDates();
    void SpinEdit1Change();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void Button1Click();

    std::unique_ptr<Ui::TForm8> ui;
};
