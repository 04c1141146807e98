#include "access/Unit66.h"

#include "ui_Unit66.h"

#include "access/AccessCode.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

TForm66::TForm66(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm66>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)), ADOCommand1(new Command(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));
    for (QLabel* mark : {ui->Label4, ui->Label5, ui->Label6})
        makeRequiredMark(mark);
    for (QLineEdit* edit : {ui->Edit1, ui->Edit2, ui->Edit3})
        AccessCode::prepareCodeField(edit);
    setCancelButton(ui->Button2);
    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("SECURITY"));
    ADOCommand1->setConnection(ADOConnection1);
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm66::Edit1Change);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm66::Edit2Change);
    connectGuarded(ui->Edit3, &QLineEdit::textChanged, this, &TForm66::Edit3Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm66::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm66::Button2Click);
    FormCreate();
}

TForm66::~TForm66() = default;

void TForm66::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
    StoredCode = AccessCode::firstColumnOfFirstRow(*ADOTable1);
}

void TForm66::ValidateCodes() {
    OldCode = ui->Edit1->text().trimmed();
    NewCode = ui->Edit2->text().trimmed();
    ConfirmedCode = ui->Edit3->text().trimmed();
    bool ok = true;
    for (const QString& code : {OldCode, NewCode, ConfirmedCode})
        ok = ok && !code.isEmpty() && Global::IsCleanText(code);
    ui->Button1->setEnabled(ok && NewCode == ConfirmedCode && StoredCode == OldCode);
}

void TForm66::Button1Click() {
    if (!ui->Button1->isEnabled())
        return;
    AccessCode::store(*ADOCommand1, NewCode);
    Messages::information(this,
                          QStringLiteral("Η αλλαγή του κωδικού πρόσβασης έγινε με επιτυχία."));
    close();
}

void TForm66::Button2Click() {
    close();
}

void TForm66::FormClose() {
    ADOConnection1->close();
}
