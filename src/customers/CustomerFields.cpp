#include "customers/CustomerFields.h"

#include "ui_CustomerFields.h"

#include "ui/Screen.h"

CustomerFields::CustomerFields(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::CustomerFields>()) {
    ui->setupUi(this);
    for (QLabel* mark :
         {ui->Label19, ui->Label20, ui->Label21, ui->Label22, ui->Label26, ui->Label27})
        Screen::makeRequiredMark(mark);
}

CustomerFields::~CustomerFields() = default;

const QStringList& CustomerFields::columns() {
    static const QStringList names = {
        QStringLiteral("ONOMA"),      QStringLiteral("EPWNYMO"),
        QStringLiteral("FYLO"),       QStringLiteral("HMEROMHNIA_GENNHSEWS"),
        QStringLiteral("DIEYTHYNSH"), QStringLiteral("THLEFWNO_1"),
        QStringLiteral("THLEFWNO_2"), QStringLiteral("EPAGGELMA"),
        QStringLiteral("TAMEIO")};
    return names;
}

void CustomerFields::setDataSource(DataSource* source) {
    const QList<FieldLink*> links = {ui->DBEdit1, ui->DBEdit2, ui->DBComboBox1,
                                     ui->DBEdit3, ui->DBEdit7, ui->DBEdit8,
                                     ui->DBEdit9, ui->DBEdit4, ui->DBEdit5};
    for (int i = 0; i < links.size(); ++i) {
        links[i]->setDataSource(source);
        links[i]->setDataField(columns()[i]);
    }
}

QWidget* CustomerFields::firstField() const {
    return ui->DBEdit1;
}
