#pragma once

#include "ui/Screen.h"

#include <QDate>
#include <QString>

#include <memory>
#include <utility>

class Connection;
class DataSource;
class Query;
class RvDataSetConnection;
class RvProject;

namespace Ui {
class TForm23;
}

// The customers whose birthday falls in a chosen span (today, this week, this month, or
// between two dates), by day, with the age each turns and both phone numbers; printable
// (GENETHLIA.RAV) and exportable like every list. Reads only.
class TForm23 : public Screen {
    Q_OBJECT
public:
    explicit TForm23(QWidget* parent = nullptr);
    ~TForm23() override;

    enum class Span { Today, Week, Month };
    // The days a span covers around today: the week runs Monday to Sunday.
    static std::pair<QDate, QDate> spanOf(Span span, const QDate& today);

    // The birthdays from `from` to `to`, both included, in day order. Someone born on
    // 29 February has her birthday on 28 February in the other years.
    static QString listSql(const QDate& from, const QDate& to);
    static QString countText(int count); // "Βρέθηκαν 3 πελάτες"
    // Why two dates make no span to list, or empty when they do: the end must not come
    // before the start, and a span shorter than a year holds each birthday once.
    static QString spanRefusal(const QDate& from, const QDate& to);

    // The span listed last, for the printout's heading.
    QDate shownFrom() const { return m_from; }
    QDate shownTo() const { return m_to; }

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RadioButtonClick(Span span);
    void Button1Click(); // show the chosen span
    void Button2Click(); // print
    void Button3Click();
    void ShowBirthdays(const QDate& from, const QDate& to);
    void ClearList();

    std::unique_ptr<Ui::TForm23> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
    RvDataSetConnection* RvDataSetConnection23;
    RvProject* RvProject23;
    QDate m_from;
    QDate m_to;
};
