#pragma once

#include "SheetFile.h"
#include "UiFixture.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>

// A customer's collections with her phone number in one list, over a fresh data file: Greek
// text, an amount 45,50 that the statement formats as text, a date field, a phone number of
// digits, receipt numbers, and descriptions a spreadsheet would take for formulas.
struct CollectionsSheet {
    static QStringList titles() {
        return {"Επώνυμο",    "Τηλέφωνο", "Ημερομηνία", "Αριθμός απόδειξης",
                "Ποσό (EUR)", "Ταμείο",   "Περιγραφή"};
    }

    TestDatabase db;
    std::unique_ptr<Connection> connection = db.connect();
    Query query;
    DataSource source;
    Screen window;
    DBGrid* grid = new DBGrid(&window);

    CollectionsSheet() {
        db.exec("INSERT INTO STOIXEIA_PELATH (ID, ONOMA, EPWNYMO, THLEFWNO_1) VALUES "
                "(7, 'Μαρία', 'Παπαδοπούλου', '00302109876543');"
                "INSERT INTO EISPRAKSH_PELATH (ID, HMEROMHNIA, POSO, PERIGRAFH, TAMEIO, "
                "AR_APODEIKSHS, VAT, SYNOLIKO_POSO) VALUES "
                "(7, '2026-12-01', 45.5, '=Βαφή + κούρεμα', 'ΟΓΑ', 1001, 10.92, 56.42),"
                "(7, '1899-12-31', 1234.5, '-10% έκπτωση', NULL, 1002, 0, 1234.5)");
        window.setWindowTitle("Εισπράξεις από τον συγκεκριμένο πελάτη");
        query.setConnection(connection.get());
        query.addSql("SELECT c.EPWNYMO, c.THLEFWNO_1, e.HMEROMHNIA, e.AR_APODEIKSHS, "
                     "Format(e.POSO,'0.00') AS POSO, e.TAMEIO, e.PERIGRAFH FROM "
                     "STOIXEIA_PELATH c, EISPRAKSH_PELATH e WHERE c.ID = e.ID ORDER BY "
                     "e.AR_APODEIKSHS");
        query.open();
        source.setDataSet(&query);
        grid->setDataSource(&source);
        const QStringList t = titles();
        grid->setColumns({{"EPWNYMO", t[0]},
                          {"THLEFWNO_1", t[1]},
                          {"HMEROMHNIA", t[2]},
                          {"AR_APODEIKSHS", t[3]},
                          {"POSO", t[4], Qt::AlignRight},
                          {"TAMEIO", t[5]},
                          {"PERIGRAFH", t[6]}});
        (new QVBoxLayout(&window))->addWidget(grid);
    }

    // Exports from the grid's menu into the data folder under the proposed name; that name.
    QString exportFromMenu() {
        QString proposed;
        Modal::setTestHook([&](QDialog& d) {
            auto* dialog = qobject_cast<QFileDialog*>(&d);
            if (!dialog)
                return int(QDialog::Rejected);
            proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            return int(QDialog::Accepted);
        });
        grid->contextMenu()->findChild<QAction*>("ExportExcel")->trigger();
        Modal::setTestHook({});
        return proposed;
    }
};

// The cells of the exported collections as a spreadsheet must take them: where, what the
// cell is, its value (a number as Python writes it, a date as 2026-12-01), and its number
// format in the workbook.
inline void addCollectionsCells() {
    const QString amount = QStringLiteral("#,##0.00 \"€\"");
    const QString date = QStringLiteral("d\\/m\\/yyyy");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("format");
    const auto cell = [](const char* name, int row, int column, const char* kind,
                         const QString& value, const QString& format) {
        QTest::newRow(name) << row << column << QString(kind) << value << format;
    };
    cell("a column title", 0, 4, "text", "Ποσό (EUR)", "General");
    cell("Greek text", 1, 0, "text", "Παπαδοπούλου", "General");
    cell("a phone number: text, its leading zeros kept", 1, 1, "text", "00302109876543", "General");
    cell("a date: a date, shown d/m/yyyy", 1, 2, "date", "2026-12-01", date);
    cell("a receipt number: a whole number", 1, 3, "number", "1001", "0");
    cell("an amount the statement made text: a number in euro", 1, 4, "number", "45.5", amount);
    cell("a fund", 1, 5, "text", "ΟΓΑ", "General");
    cell("a text beginning with =: the text itself, no formula, no apostrophe", 1, 6, "text",
         "=Βαφή + κούρεμα", "General");
    cell("an amount past a thousand", 2, 4, "number", "1234.5", amount);
    cell("a date before 1900, which spreadsheets cannot count: kept as text", 2, 2, "text",
         "31/12/1899", "General");
    cell("no fund: an empty cell", 2, 5, "empty", "", "General");
    cell("a text beginning with -", 2, 6, "text", "-10% έκπτωση", "General");
}
