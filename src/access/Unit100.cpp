#include "access/Unit100.h"

#include "ui_Unit100.h"

#include "access/AccessCode.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

TForm100::TForm100(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm100>()), ADOConnection1(new Connection(this)),
      ADOCommand1(new Command(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));
    setWindowFlags(AccessCode::captionWithoutButtons());
    makeRequiredMark(ui->Label4);
    makeRequiredMark(ui->Label5);
    AccessCode::prepareCodeField(ui->Edit2);
    AccessCode::prepareCodeField(ui->Edit3);
    // No cancel button: Esc does nothing here.
    setCancelButton(nullptr);
    ADOCommand1->setConnection(ADOConnection1);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm100::Edit2Change);
    connectGuarded(ui->Edit3, &QLineEdit::textChanged, this, &TForm100::Edit3Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm100::Button1Click);
    FormCreate();
}

TForm100::~TForm100() = default;

void TForm100::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
}

void TForm100::Edit2Change() {
    NewCode = ui->Edit2->text().trimmed();
    ConfirmedCode = ui->Edit3->text().trimmed();
    ui->Button1->setEnabled(!NewCode.isEmpty() && !ConfirmedCode.isEmpty() &&
                            Global::IsCleanText(NewCode) && Global::IsCleanText(ConfirmedCode) &&
                            NewCode == ConfirmedCode);
}

void TForm100::Button1Click() {
    if (!ui->Button1->isEnabled())
        return;
    AccessCode::store(*ADOCommand1, NewCode);
    CodeStored = true;
    Messages::information(this,
                          QStringLiteral("Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία."));
    close();
}

void TForm100::FormClose() {
    ADOConnection1->close();
}
