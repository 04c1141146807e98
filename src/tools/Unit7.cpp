#include "tools/Unit7.h"

#include "ui_Unit7.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "ui/Guard.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"

#include <QRegularExpression>

#include <stdexcept>

namespace {
// NoteId goes into the statement unquoted: only a plain note number may.
bool isNoteNumber(const QString& id) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    return digits.match(id).hasMatch();
}
} // namespace

TForm7::TForm7(QWidget* parent)
    : Screen(parent), ADOConnection1(new Connection(this)), ADOQuery1(new Query(this)),
      ui(std::make_unique<Ui::TForm7>()) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnection(ADOConnection1);
    RvDataSetConnection2 =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection2"), ADOQuery1, this);
    RvProject2 = new RvProject(QStringLiteral("RvProject2"), this);
    RvProject2->setTitle(QStringLiteral("Σημειώσεις"));

    setCancelButton(ui->Button3);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
}

TForm7::~TForm7() = default;

void TForm7::FormShow() {
    ui->Button2->setEnabled(isNoteNumber(NoteId));
}

void TForm7::Button1Click() {
    PrintNotes(QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY TITLOS ASC"));
}

void TForm7::Button2Click() {
    if (!isNoteNumber(NoteId))
        throw UserError(QStringLiteral("Δεν έχει επιλεγεί σημείωση για εκτύπωση."));
    PrintNotes(QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=") + NoteId);
}

void TForm7::PrintNotes(const QString& statement) {
    ADOConnection1->setUp(Global::ConnectionString);
    printQuery(*ADOConnection1, *ADOQuery1, statement, *RvProject2, QStringLiteral("/NOTES.RAV"));
}

void TForm7::Button3Click() {
    close();
}

void TForm7::FormClose() {
    ADOConnection1->close();
}
