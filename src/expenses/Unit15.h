#pragma once

#include "expenses/ExpenseAnalysis.h"

#include <memory>

namespace Ui {
class TForm15;
}

// The expenses summed per calendar month over a range of years, with the grand totals;
// created once at program start and shown again and again.
class TForm15 : public ExpenseAnalysis {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);
    ~TForm15() override;

    // The two years of the last search, trimmed, as typed.
    QString ExpenseFromYear;
    QString ExpenseToYear;

protected:
    bool TakeBounds() override;
    bool BoundsAreSafe() const override;
    QString ListStatement() const override;
    QString TotalsStatement() const override;
    QString PeriodFrom() const override { return ExpenseFromYear; }
    QString PeriodTo() const override { return ExpenseToYear; }

private:
    void CheckYearInputs();

    std::unique_ptr<Ui::TForm15> ui;
};
