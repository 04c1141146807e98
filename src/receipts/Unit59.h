#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class DataSource;
class Query;

namespace Ui {
class TForm59;
}

// The income, the VAT and the income less VAT of the valid receipts dated between two typed
// days, both included, also saved as an Excel workbook. Reads only.
class TForm59 : public Screen {
    Q_OBJECT
public:
    explicit TForm59(QWidget* parent = nullptr);
    ~TForm59() override;

    static QString wrongCriteriaText() { return QStringLiteral("Λανθασμένα κριτήρια."); }
    // The sums between two date literals.
    static QString sumsSql(const QString& from, const QString& to);

protected:
    void FormClose() override;

private:
    void Edit1Change() { CheckDateInputs(); }
    void Edit2Change() { CheckDateInputs(); }
    void CheckDateInputs();
    void Button1Click();
    void Button2Click();
    void Button3Click(); // the workbook
    // False when a date names no day or the store refuses the statement.
    bool Search();

    std::unique_ptr<Ui::TForm59> ui;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
    // The days of the last search as the program shows them: 28/3/2007.
    QString m_from;
    QString m_to;
};
