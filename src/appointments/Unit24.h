#pragma once

#include "ui/Screen.h"

#include <QDate>
#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm24;
}

// Finds a text (a surname, a phone) in every half-hour slot of the appointment book, without
// regard to case or accents, newest first; a row opens its day on that slot. Reads only.
class TForm24 : public Screen {
    Q_OBJECT
public:
    explicit TForm24(QWidget* parent = nullptr);
    ~TForm24() override;

    // Set before showing (the catalogue hands over a customer's surname): searched at once.
    QString SearchText;

    // The slots whose text holds `text` anywhere, newest day and latest slot first: MERA
    // (the date), HMERA (its weekday), ORA ("10:00 - 10:30"), KEIMENO (the slot's text)
    // and SLOT (1-28).
    static QString searchSql(const QString& text);
    static QString countText(int count); // "Βρέθηκαν 3 ραντεβού"

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Edit1Change();
    void Button1Click(); // search
    void Button2Click(); // open the day of the current row
    void Button3Click();
    void DBGrid1DblClick();
    void Search();
    void OpenDay();
    // Makes the row of this day and slot current again after a new search; the first row
    // when it is gone.
    void FindRow(const QDate& day, int slot);

    std::unique_ptr<Ui::TForm24> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
};
