#pragma once

#include "expenses/ExpenseAnalysis.h"

#include <memory>

namespace Ui {
class TForm14;
}

// The expenses dated between two days, oldest first, with their totals; created once at
// program start and shown again and again.
class TForm14 : public ExpenseAnalysis {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
    ~TForm14() override;

    // The bounds of the last search as date literals, or "ERROR".
    QString ExpenseFromDate;
    QString ExpenseToDate;

protected:
    bool TakeBounds() override;
    QString ListStatement() const override;
    QString TotalsStatement() const override;
    QString PeriodFrom() const override;
    QString PeriodTo() const override;

private:
    void CheckDateInputs();

    std::unique_ptr<Ui::TForm14> ui;
};
