#include "access/Unit65.h"

#include "ui_Unit65.h"

#include "access/AccessCode.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QCoreApplication>

TForm65::TForm65(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm65>()), ADOConnection1(new Connection(this)),
      ADOTable1(new Table(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    // A title bar without buttons: the way out is the exit button (or Esc).
    setWindowFlags(AccessCode::captionWithoutButtons());
    makeRequiredMark(ui->Label3);
    AccessCode::prepareCodeField(ui->Edit1);
    setCancelButton(ui->Button2);
    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("SECURITY"));
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm65::Edit1Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm65::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm65::Button2Click);
    FormCreate();
}

TForm65::~TForm65() = default;

void TForm65::FormCreate() {
    Global::AccessGranted = false;
    ADOConnection1->setUp(Global::ConnectionString, false);
}

void TForm65::Edit1Change() {
    TypedCode = ui->Edit1->text().trimmed();
    ui->Button1->setEnabled(!TypedCode.isEmpty() && Global::IsCleanText(TypedCode));
}

void TForm65::Button1Click() {
    ADOConnection1->close();
    ADOConnection1->open();
    ADOTable1->close();
    ADOTable1->open();
    const QString stored = AccessCode::firstColumnOfFirstRow(*ADOTable1);
    Global::AccessGranted = false;
    if (stored == TypedCode && !TypedCode.isEmpty()) {
        Global::AccessGranted = true;
        ADOConnection1->close();
        close();
        return;
    }
    Messages::information(this, QStringLiteral("Λανθασμένος κωδικός πρόσβασης."));
    ui->Edit1->clear();
    ui->Edit1->setFocus();
}

void TForm65::Button2Click() {
    Global::AccessGranted = false;
    // Before the message loop runs this does nothing; start-up then ends the program itself
    // because access was not granted.
    QCoreApplication::quit();
    close();
}

void TForm65::FormClose() {
    ADOConnection1->close();
}
