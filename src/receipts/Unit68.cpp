#include "receipts/Unit68.h"

#include "ui_Unit68.h"

#include "data/DataSet.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

namespace {
// A post without a rate would end the program and leave every receipt without one.
void checkRate(DataSet& table) {
    if (table.fieldByName(QStringLiteral("VAT_RATIO"))->isNull())
        throw InputError(QStringLiteral("Γράψτε τον συντελεστή Φ.Π.Α. (π.χ 24)."));
}
} // namespace

TForm68::TForm68(QWidget* parent)
    : SettingsScreen(QStringLiteral("SYNTELESTHS_VAT"), parent),
      ui(std::make_unique<Ui::TForm68>()) {
    ui->setupUi(this);
    makeRequiredMark(ui->Label2);
    bindFields({{ui->DBEdit1, QStringLiteral("VAT_RATIO")}}, ui->DBNavigator1, ui->Button2);
    ADOTable1->beforePost = checkRate;
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm68::Button2Click);
    connectGuarded(ADOTable1, &DataSet::afterPost, this, &TForm68::ADOTable1AfterPost);
    FormCreate();
}

TForm68::~TForm68() = default;

QString TForm68::storedMessage() {
    const QChar cr(u'\r');
    return QStringLiteral("Η καταχώρηση έγινε με επιτυχία.") + cr +
           QStringLiteral("Η λειτουργία του προγράμματος θα τερματιστεί.") + cr +
           QStringLiteral("Για να μπορέσεις να εργαστείς τρέξε ξανά το πρόγραμμα.");
}

void TForm68::Button2Click() {
    close();
}

void TForm68::ADOTable1AfterPost() {
    Messages::information(this, storedMessage());
    Termination::terminate();
}
