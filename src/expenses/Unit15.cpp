#include "expenses/Unit15.h"

#include "ui_Unit15.h"

#include "data/Global.h"
#include "ui/Guard.h"

#include <algorithm>

namespace {
const QString kFrom = QStringLiteral("SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], "
                                     "YEAR(EKSODA.HMEROMHNIA) AS [YEAR], ");
const QString kSums = QStringLiteral("Format(SUM(EKSODA.POSO),'0.00') AS "
                                     "AKSIA,Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                                     "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM "
                                     "EKSODA WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN ");
} // namespace

TForm15::TForm15(QWidget* parent)
    : ExpenseAnalysis(parent, {"RvProject4", "RvDataSetConnection5", "RvDataSetConnection6",
                               "EKSODA2.RAV", "Έξοδα κατά μήνα"}),
      ui(std::make_unique<Ui::TForm15>()) {
    ui->setupUi(this);
    setUpControls(
        {{QStringLiteral("MONTH"), QStringLiteral("Μήνας"), Qt::AlignCenter, 70},
         {QStringLiteral("YEAR"), QStringLiteral("Έτος"), Qt::AlignCenter, 70},
         {QStringLiteral("AKSIA"), QStringLiteral("Αξία (EUR)"), Qt::AlignRight, 110},
         {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), Qt::AlignRight, 110},
         {QStringLiteral("SYNOLO"), QStringLiteral("Αξία +Φ.Π.Α (EUR)"), Qt::AlignRight, 130}});
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm15::CheckYearInputs);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm15::CheckYearInputs);
}

TForm15::~TForm15() = default;

void TForm15::CheckYearInputs() {
    ui->Button1->setEnabled(inputsAreClean());
}

bool TForm15::TakeBounds() {
    ExpenseFromYear = ui->Edit1->text().trimmed();
    ExpenseToYear = ui->Edit2->text().trimmed();
    return true;
}

bool TForm15::BoundsAreSafe() const {
    // Letters and blanks pass the input check, so a "year" could be a column name or a
    // condition of its own; only whole numbers go into the statement.
    return Global::IsWholeNumber(ExpenseFromYear) && Global::IsWholeNumber(ExpenseToYear);
}

QString TForm15::ListStatement() const {
    return kFrom + kSums + ExpenseFromYear + QStringLiteral(" AND ") + ExpenseToYear +
           QStringLiteral(" GROUP BY MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  ORDER "
                          "BY YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC");
}

QString TForm15::TotalsStatement() const {
    return QStringLiteral("SELECT ") + kSums + ExpenseFromYear + QStringLiteral(" AND ") +
           ExpenseToYear;
}
