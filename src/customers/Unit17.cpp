#include "customers/Unit17.h"

#include "ui_Unit17.h"

#include "customers/Unit18.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "ui/Guard.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"

#include <stdexcept>

namespace {
const QString kByName = QStringLiteral(" ORDER BY EPWNYMO ASC");
}

TForm17::TForm17(QWidget* parent) : Screen(parent), ui(std::make_unique<Ui::TForm17>()) {
    ui->setupUi(this);
    for (QLabel* mark : {ui->Label4, ui->Label5})
        makeRequiredMark(mark);

    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm17::Edit1Change);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm17::Edit2Change);
    connectGuarded(ui->Edit3, &QLineEdit::textChanged, this, &TForm17::Edit3Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm17::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm17::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm17::Button3Click);
    connectGuarded(ui->Button4, &QPushButton::clicked, this, &TForm17::Button4Click);

    // Enter searches on the page in front.
    auto followPage = [this](int page) {
        ui->Button1->setDefault(page == 0);
        ui->Button4->setDefault(page == 1);
    };
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, followPage);
    followPage(ui->PageControl1->currentIndex());
    ui->Edit1->setFocus();

    setCancelButton(ui->Button3);
}

TForm17::~TForm17() = default;

QString TForm17::columnList() {
    return QStringLiteral("SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,"
                          "THLEFWNO_2,DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH");
}

void TForm17::Edit1Change() {
    const QString p = ui->Edit1->text().trimmed();
    ui->Button1->setEnabled(!p.isEmpty() && Global::IsCleanText(p));
}

void TForm17::Edit2Change() {
    CheckDateInputs();
}

void TForm17::Edit3Change() {
    CheckDateInputs();
}

void TForm17::CheckDateInputs() {
    ui->Button4->setEnabled(Global::IsCleanText(ui->Edit2->text().trimmed()) &&
                            Global::IsCleanText(ui->Edit3->text().trimmed()));
}

void TForm17::Button1Click() {
    const QString p = ui->Edit1->text().trimmed();
    const QString condition = QStringLiteral("WHERE EPWNYMO LIKE'") + p + QStringLiteral("%") +
                              QStringLiteral("'") + kByName;
    ShowCatalogue(condition, columnList() + QLatin1Char(' ') + condition);
}

void TForm17::Button2Click() {
    ShowCatalogue(QString(), columnList() + kByName);
}

void TForm17::Button4Click() {
    QString a = ui->Edit2->text().trimmed();
    QString b = ui->Edit3->text().trimmed();
    Global::ToJetDate(a);
    Global::ToJetDate(b);
    if (a == u"ERROR" || b == u"ERROR") {
        ui->Button4->setEnabled(false);
        Messages::information(this, QStringLiteral("Λανθασμένα κριτήρια."));
        return;
    }
    const QString condition = QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN ") + a +
                              QStringLiteral(" AND ") + b + kByName;
    ShowCatalogue(condition, columnList() + condition);
}

void TForm17::ShowCatalogue(const QString& filter, const QString& sql) {
    TForm18* catalogue = LongLived::find<TForm18>();
    if (!catalogue)
        throw UserError(QStringLiteral("Ο κατάλογος των πελατών δεν είναι διαθέσιμος."));
    catalogue->CatalogueFilter = filter;
    catalogue->CatalogueSql = sql;
    Modal::exec(*catalogue);
}

void TForm17::Button3Click() {
    close();
}
