#include "receipts/Unit73.h"

#include "ui_Unit73.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "receipts/Unit72.h"
#include "ui/Guard.h"

#include <QToolButton>

#include <vector>

TForm73::TForm73(QWidget* parent)
    : SettingsScreen(QStringLiteral("INFORMATION"), parent), ui(std::make_unique<Ui::TForm73>()) {
    ui->setupUi(this);
    makeRequiredMark(ui->Label9);
    bindFields({{ui->DBEdit1, QStringLiteral("TITLE")},
                {ui->DBEdit2, QStringLiteral("ADDRESS1")},
                {ui->DBEdit3, QStringLiteral("ADDRESS2")},
                {ui->DBEdit4, QStringLiteral("PHONE")},
                {ui->DBEdit5, QStringLiteral("FAX")},
                {ui->DBEdit6, QStringLiteral("WEBSITE")},
                {ui->DBEdit7, QStringLiteral("EMAIL")},
                {ui->DBEdit8, QStringLiteral("AFT")},
                {ui->DBEdit16, QStringLiteral("AFPA")},
                {ui->DBEdit9, QStringLiteral("EXTRA1")},
                {ui->DBEdit10, QStringLiteral("EXTRA2")},
                {ui->DBEdit11, QStringLiteral("EXTRA3")},
                {ui->DBEdit12, QStringLiteral("EXTRA4")},
                {ui->DBEdit13, QStringLiteral("EXTRA5")},
                {ui->DBEdit14, QStringLiteral("EXTRA6")},
                {ui->DBEdit15, QStringLiteral("EXTRA7")}},
               ui->DBNavigator1, ui->Button1);
    QToolButton* post = ui->DBNavigator1->button(DBNavigator::Post);
    post->setToolTip(QStringLiteral("Αποθήκευση των στοιχείων"));
    post->setAccessibleName(post->toolTip());
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm73::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm73::Button2Click);
    FormCreate();
}

TForm73::~TForm73() = default;

void TForm73::Button1Click() {
    close();
}

void TForm73::Button2Click() {
    // Reconnecting closes the table and with it a change not posted yet; the change is put
    // back afterwards, so that looking at the stored header loses nothing typed.
    std::vector<QVariant> pending;
    if (ADOTable1->isEditing()) {
        ADOTable1->updateRecord();
        for (const Field* f : ADOTable1->fields())
            pending.push_back(f->value());
    }
    ADOConnection1->setUp(Global::ConnectionString);
    if (!ADOTable1->isActive())
        ADOTable1->open();
    if (!pending.empty() && int(pending.size()) == ADOTable1->fieldCount()) {
        for (int i = 0; i < ADOTable1->fieldCount(); ++i) {
            Field* f = ADOTable1->field(i);
            if (f->value() == pending[size_t(i)])
                continue;
            ADOTable1->edit();
            f->setValue(pending[size_t(i)]);
        }
    }

    TForm72::printNumber(0);
}
