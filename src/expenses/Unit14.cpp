#include "expenses/Unit14.h"

#include "ui_Unit14.h"

#include "data/Global.h"
#include "ui/Guard.h"

namespace {
const QString kError = QStringLiteral("ERROR");

// "#3/28/2007#" as the program shows dates: 28/3/2007.
QString shownDate(const QString& literal) {
    const QStringList parts = QString(literal).remove(u'#').split(u'/');
    if (parts.size() != 3)
        return literal;
    return parts[1] + u'/' + parts[0] + u'/' + parts[2];
}
} // namespace

TForm14::TForm14(QWidget* parent)
    : ExpenseAnalysis(parent, {"RvProject3", "RvDataSetConnection3", "RvDataSetConnection4",
                               "EKSODA1.RAV", "Έξοδα"}),
      ui(std::make_unique<Ui::TForm14>()) {
    ui->setupUi(this);
    setUpControls(
        {{QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), Qt::AlignLeft, 230},
         {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 85},
         {QStringLiteral("AKSIA"), QStringLiteral("Αξία (EUR)"), Qt::AlignRight, 95},
         {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), Qt::AlignRight, 95},
         {QStringLiteral("SYNOLO"), QStringLiteral("Αξία + Φ.Π.Α (EUR)"), Qt::AlignRight, 130}});
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm14::CheckDateInputs);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm14::CheckDateInputs);
}

TForm14::~TForm14() = default;

void TForm14::CheckDateInputs() {
    ui->Button1->setEnabled(inputsAreClean());
}

bool TForm14::TakeBounds() {
    ExpenseFromDate = ui->Edit1->text().trimmed();
    ExpenseToDate = ui->Edit2->text().trimmed();
    Global::ToJetDate(ExpenseFromDate);
    Global::ToJetDate(ExpenseToDate);
    return ExpenseFromDate != kError && ExpenseToDate != kError;
}

QString TForm14::ListStatement() const {
    return QStringLiteral("SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
                          "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') AS "
                          "VAT") +
           QStringLiteral(", Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, "
                          "EKSODA.PERIGRAFH FROM EKSODA WHERE EKSODA.HMEROMHNIA Between ") +
           ExpenseFromDate + QStringLiteral(" AND ") + ExpenseToDate +
           QStringLiteral(" ORDER BY EKSODA.HMEROMHNIA ASC");
}

QString TForm14::TotalsStatement() const {
    return QStringLiteral("SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                          "Format(SUM(EKSODA.VAT),'0.00') AS VAT") +
           QStringLiteral(", Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM "
                          "EKSODA WHERE EKSODA.HMEROMHNIA Between ") +
           ExpenseFromDate + QStringLiteral(" AND ") + ExpenseToDate;
}

QString TForm14::PeriodFrom() const {
    return shownDate(ExpenseFromDate);
}

QString TForm14::PeriodTo() const {
    return shownDate(ExpenseToDate);
}
