#pragma once

#include "GridReader.h"
#include "ScreenFixture.h"
#include "TestSupport.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "ui/DBEdit.h"
#include "ui/DBGrid.h"
#include "ui/DBMemo.h"
#include "ui/DBNavigator.h"
#include "ui/Screen.h"
#include "ui/Seams.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

// A window laid out like the reminders book (date, text, list, navigator and a plain edit to
// move the focus to), over a fresh data file holding three reminders in this stored order.
struct ReminderBook {
    TestDatabase db;
    std::unique_ptr<Connection> connection = db.connect();
    Table table;
    DataSource source;
    Screen window;
    DBEdit* date = new DBEdit(&window);
    DBMemo* text = new DBMemo(&window);
    DBGrid* grid = new DBGrid(&window);
    DBNavigator* navigator = new DBNavigator(&window);
    QLineEdit* elsewhere = new QLineEdit(&window);

    explicit ReminderBook(bool seeded = true) {
        if (seeded)
            db.exec(QStringLiteral("INSERT INTO YPENTHIMISEIS VALUES('2008-01-01','πρώτη'),"
                                   "('2008-12-31','δεύτερη'),('2007-06-15','τρίτη')"));
        table.setConnection(connection.get());
        table.setTableName(QStringLiteral("YPENTHIMISEIS"));
        table.open();
        source.setDataSet(&table);
        date->setDataSource(&source);
        date->setDataField(QStringLiteral("HMEROMHNIA"));
        text->setDataSource(&source);
        text->setDataField(QStringLiteral("PERIGRAFH"));
        grid->setDataSource(&source);
        grid->setColumns(
            {{QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), Qt::AlignCenter, 90}});
        navigator->setDataSource(&source);
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w :
             {static_cast<QWidget*>(date), static_cast<QWidget*>(text), static_cast<QWidget*>(grid),
              static_cast<QWidget*>(navigator), static_cast<QWidget*>(elsewhere)})
            layout->addWidget(w);
    }

    bool showActive() { return ::showActive(window); }

    // The rows as the file holds them, in stored order.
    QString stored() const {
        return db.scalar(QStringLiteral(
            "SELECT group_concat(ifnull(HMEROMHNIA,'-') || '=' || ifnull(PERIGRAFH,'-'), ';') "
            "FROM (SELECT * FROM YPENTHIMISEIS ORDER BY rowid)"));
    }

    // Clicks the grid row as a person does.
    void clickRow(int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
};
