#pragma once

#include "ui/DBGridModel.h"
#include "ui/Screen.h"

#include <QList>
#include <QString>

class Connection;
class DataSource;
class DBGrid;
class QLineEdit;
class QPushButton;
class Query;
class RvDataSetConnection;
class RvProject;

// What the two expense analyses share: two typed bounds that must pass the input check, a
// search that fills the list and its totals, and a printout that always shows the last
// search, whatever the inputs hold by then; the list and its totals are also saved as an Excel
// workbook. The screen lives for the whole run; closing it empties the inputs and takes the
// printout and the workbook away until the next search.
class ExpenseAnalysis : public Screen {
    Q_OBJECT
public:
    ~ExpenseAnalysis() override;

    static QString wrongCriteriaMessage() { return QStringLiteral("Λανθασμένα κριτήρια."); }

protected:
    // The names by which the report file finds its data, and the file itself.
    struct ReportNames {
        const char* project;
        const char* listConnection;
        const char* totalsConnection;
        const char* file;  // in AppDirectory
        const char* title; // what a person reads for the report: "Έξοδα"
    };
    ExpenseAnalysis(QWidget* parent, const ReportNames& names);

    // Called by the screen once its controls exist: binds the list, its navigator and the
    // three totals, and connects the buttons.
    void setUpControls(const QList<GridColumn>& columns);

    // True when both inputs, trimmed, pass the input check; the search button follows it.
    bool inputsAreClean() const;

    // Takes the bounds from the inputs into the screen's own values; false when one of them
    // names nothing that can be searched for.
    virtual bool TakeBounds() = 0;
    // False when the bounds taken cannot go into a statement.
    virtual bool BoundsAreSafe() const { return true; }
    virtual QString ListStatement() const = 0;
    virtual QString TotalsStatement() const = 0;
    // The period of the last search as the report's title shows it.
    virtual QString PeriodFrom() const = 0;
    virtual QString PeriodTo() const = 0;

    void FormClose() override;

    Connection* ADOConnection1;
    Query* ADOQuery1; // the list on screen
    Query* ADOQuery2; // its totals
    Query* ADOQuery3; // the list printed
    Query* ADOQuery4; // its totals
    DataSource* DataSource1;
    DataSource* DataSource2;
    RvDataSetConnection* listConnection;
    RvDataSetConnection* totalsConnection;
    RvProject* project;

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr; // search
    QPushButton* Button2 = nullptr; // exit
    QPushButton* Button3 = nullptr; // printout
    QPushButton* Button4 = nullptr; // the workbook

private:
    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void RefuseSearch();
    void EnableResultCommands(bool on);
    // "Έξοδα 1/3/2007 έως 31/3/2007": the report's words and the last search's period.
    QString Subject() const;
    bool OpenResult();
    void ClosePrintout();

    QString m_reportFile;
    QString m_title;
    DBGrid* m_grid = nullptr;
};
