#include "receipts/Unit9.h"

#include "ui_Unit9.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <limits>
#include <stdexcept>

namespace {
// An empty counter would lock numbering with no number to give, and no command could mend
// it afterwards; a number beyond a long integer could not be printed on a receipt.
void checkCounter(DataSet& table) {
    const Field* last = table.fieldByName(QStringLiteral("LAST"));
    if (last->isNull())
        throw InputError(QStringLiteral("Γράψτε τον αριθμό από τον οποίο θα αρχίσει η "
                                        "αρίθμηση των αποδείξεων."));
    const qlonglong n = last->asInteger();
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        throw InputError(
            QStringLiteral("Ο αριθμός %1 είναι εκτός των ορίων του αριθμού απόδειξης.").arg(n));
}
} // namespace

TForm9::TForm9(QWidget* parent)
    : SettingsScreen(QStringLiteral("LAST_APODEIKSH"), parent), ui(std::make_unique<Ui::TForm9>()) {
    ui->setupUi(this);
    makeRequiredMark(ui->Label2);
    bindFields({{ui->DBEdit1, QStringLiteral("LAST")}}, ui->DBNavigator1, ui->Button2);
    ADOTable1->beforePost = checkCounter;
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
    FormCreate();
}

TForm9::~TForm9() = default;

void TForm9::Button2Click() {
    close();
}
