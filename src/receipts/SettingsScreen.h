#pragma once

#include "ui/Screen.h"

#include <QList>
#include <QString>

#include <utility>

class Connection;
class DataSource;
class DBEdit;
class DBNavigator;
class Table;

// What the receipt settings screens share: a connection of their own and the one-row table
// each keeps, edited through bound fields and a navigator that only posts. Typing into the
// empty table starts its row, typing into the stored row edits it, and only Post saves.
class SettingsScreen : public Screen {
    Q_OBJECT
public:
    ~SettingsScreen() override;

    Connection* ADOConnection1;
    Table* ADOTable1;
    DataSource* DataSource1;

protected:
    SettingsScreen(const QString& tableName, QWidget* parent);

    // Binds each edit to its column and the navigator to the table, showing Post alone;
    // the exit button becomes the one Esc presses.
    void bindFields(const QList<std::pair<DBEdit*, QString>>& fields, DBNavigator* navigator,
                    QAbstractButton* exitButton);
    // Connects from ConnectionString and reads the table afresh.
    void FormCreate();
    // Closing the connection closes the table, which drops a change not posted.
    void FormClose() override;
};
