#pragma once

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

// Shows a window as the active one, so that focus changes happen as for a person.
inline bool showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// A control of a screen by its name; a missing one ends the test program at once.
template <class T> T* child(const QObject& screen, const QString& name) {
    T* found = screen.findChild<T*>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

// The texts of one column of a screen's grid, top to bottom.
inline QStringList gridColumn(const QObject& screen,
                              const QString& grid = QStringLiteral("DBGrid1"), int column = 0) {
    const QAbstractItemModel* m = child<QAbstractItemView>(screen, grid)->model();
    QStringList texts;
    for (int row = 0; row < m->rowCount(); ++row)
        texts << m->index(row, column).data().toString();
    return texts;
}

// Tables of exact captions: the screen, the control (empty for the window's own caption)
// and the text.
inline void addCaptionColumns() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("text");
}
inline void addCaption(const char* screen, const char* object, const QString& text) {
    QTest::addRow("%s %s", screen, *object ? object : "caption")
        << QString::fromLatin1(screen) << QString::fromLatin1(object) << text;
}
// The caption a table row names: the window's title, or the text of the named control.
inline QString captionOf(const QWidget& window, const QString& object) {
    if (object.isEmpty())
        return window.windowTitle();
    const QObject* control = window.findChild<QObject*>(object);
    return control ? control->property("text").toString()
                   : QStringLiteral("<no control %1>").arg(object);
}

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

// Types text as a person does; QTest's own typing knows only Latin-1.
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(w, Qt::Key_Return);
        else if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Every test starts with scripted message boxes and no answers queued.
inline void scriptMessages() {
    Messages::setTestMode(true);
    Messages::setTestHook({});
    Messages::clearShown();
}
