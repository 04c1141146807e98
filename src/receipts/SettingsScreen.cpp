#include "receipts/SettingsScreen.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/DBEdit.h"
#include "ui/DBNavigator.h"

SettingsScreen::SettingsScreen(const QString& tableName, QWidget* parent)
    : Screen(parent), ADOConnection1(new Connection(this)), ADOTable1(new Table(this)),
      DataSource1(new DataSource(this)) {
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(tableName);
    DataSource1->setDataSet(ADOTable1);
}

SettingsScreen::~SettingsScreen() = default;

void SettingsScreen::bindFields(const QList<std::pair<DBEdit*, QString>>& fields,
                                DBNavigator* navigator, QAbstractButton* exitButton) {
    for (const auto& [edit, column] : fields) {
        edit->setDataSource(DataSource1);
        edit->setDataField(column);
    }
    navigator->setDataSource(DataSource1);
    navigator->setVisibleButtons(DBNavigator::Post);
    setCancelButton(exitButton);
}

void SettingsScreen::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOTable1->close();
    ADOTable1->open();
}

void SettingsScreen::FormClose() {
    ADOConnection1->close();
}
