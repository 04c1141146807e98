#include "customers/Unit22.h"

#include "ui_Unit22.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "ui/Guard.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"

#include <QGroupBox>
#include <QPushButton>

#include <stdexcept>

TForm22::TForm22(QWidget* parent)
    : Screen(parent), ADOConnection1(new Connection(this)), ADOQuery1(new Query(this)),
      ui(std::make_unique<Ui::TForm22>()) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnection(ADOConnection1);
    RvDataSetConnection7 =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection7"), ADOQuery1, this);
    RvProject5 = new RvProject(QStringLiteral("RvProject5"), this);
    RvProject7 = new RvProject(QStringLiteral("RvProject7"), this);
    RvProject9 = new RvProject(QStringLiteral("RvProject9"), this);
    RvProject5->setTitle(QStringLiteral("Στοιχεία πελατών"));
    RvProject7->setTitle(QStringLiteral("Ιστορικό πελατών"));
    RvProject9->setTitle(QStringLiteral("Κατάλογος πελατών"));

    // Bold group captions over buttons in the screen's plain face.
    for (QGroupBox* group : {ui->GroupBox1, ui->GroupBox4, ui->GroupBox5}) {
        QFont bold = group->font();
        bold.setBold(true);
        group->setFont(bold);
        for (QPushButton* b : group->findChildren<QPushButton*>()) {
            QFont plain = b->font();
            plain.setBold(false);
            b->setFont(plain);
        }
    }

    setCancelButton(ui->Button3);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm22::Button2Click);
    connectGuarded(ui->Button8, &QPushButton::clicked, this, &TForm22::Button8Click);
    connectGuarded(ui->Button9, &QPushButton::clicked, this, &TForm22::Button9Click);
    connectGuarded(ui->Button10, &QPushButton::clicked, this, &TForm22::Button10Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm22::Button3Click);
}

TForm22::~TForm22() = default;

QString TForm22::dataColumns() {
    return QStringLiteral("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, "
                          "THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ");
}

QString TForm22::historyColumns() {
    return QStringLiteral("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, "
                          "THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, TAMEIO, ISTORIKO FROM "
                          "STOIXEIA_PELATH ");
}

QString TForm22::SelectedCustomer() const {
    // The number goes into the statement unquoted: only a plain customer number may.
    if (!Global::IsWholeNumber(CustomerId))
        throw UserError(QStringLiteral("Δεν έχει επιλεγεί πελάτης για εκτύπωση."));
    return QStringLiteral(" WHERE ID=") + CustomerId;
}

void TForm22::Button1Click() {
    Print(dataColumns() + CatalogueFilter, RvProject5, QStringLiteral("/STOIXEIA.RAV"));
}

void TForm22::Button2Click() {
    Print(dataColumns() + SelectedCustomer(), RvProject5, QStringLiteral("/STOIXEIA.RAV"));
}

void TForm22::Button8Click() {
    Print(historyColumns() + CatalogueFilter, RvProject7, QStringLiteral("/ISTORIKO.RAV"));
}

void TForm22::Button9Click() {
    Print(historyColumns() + SelectedCustomer(), RvProject7, QStringLiteral("/ISTORIKO.RAV"));
}

void TForm22::Button10Click() {
    Print(CatalogueSql, RvProject9, QStringLiteral("/LIST.RAV"));
}

void TForm22::OpenConnection() {
    ADOConnection1->setUp(Global::ConnectionString);
}

void TForm22::Print(const QString& statement, RvProject* project, const QString& file) {
    OpenConnection();
    printQuery(*ADOConnection1, *ADOQuery1, statement, *project, file);
}

void TForm22::Button3Click() {
    close();
}

void TForm22::FormClose() {
    ADOConnection1->close();
}
