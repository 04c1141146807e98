#pragma once

#include "data/Connection.h"
#include "data/DataSet.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace Ui {
class TForm3;
}

// The main window. Creating it runs the whole start-up; afterwards it is the hub from which
// every screen is opened.
class TForm3 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // The clock's date when the window was created; not refreshed while the program runs.
    quint16 TodayDay = 0;
    quint16 TodayMonth = 0;
    quint16 TodayYear = 0;
    QString StoredAccessCode;

    // True when start-up has ended the program (refused access or an error): the window is
    // never used and program entry returns at once.
    bool isEnding() const { return m_ending; }
    // What went wrong when start-up failed; empty after a refused access check.
    QString startupError() const { return m_startupError; }

    static QString productLine();
    static QString noticeText();
    static QString backupText();
    // The calculators looked for, the running desktop's own first; the first four are those
    // the package recommends, each a Debian package of the same name.
    static QStringList calculatorPrograms();
    static QString noCalculatorText();

    // Handlers, named after their controls.
    void Timer1Timer();
    void BitBtn1Click();
    void Backup1Click();
    void N5Click(); // the calculator
    void N17Click();
    void N16Click();
    void N28Click();
    void N13Click(); // the expense book
    void N14Click(); // the expense analysis, one instance for the run
    void N15Click(); // the monthly expense totals, one instance for the run
    void N18Click(); // collections between two dates
    void Y1Click();
    void N19Click(); // the issued receipts
    void N3Click();  // the notes book
    void N10Click(); // useful phone numbers
    void N4Click();  // calendar calculations
    void N2Click();  // the VAT rate
    void N8Click();  // the receipt numbering, until it is fixed
    void N7Click();  // the receipt header
    void N11Click();
    void About1Click();
    void N22Click();
    void N29Click(); // customers' birthdays
    void N30Click(); // a text searched in the appointment book
    void PopupMenu1Popup();
    void FormDblClick();

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void CheckTodaysReminders();
    void CheckReceiptNumbering();
    void EndProgram();
    // Ends start-up over an error, after a box that says what happened and what to do.
    void RefuseStart(const QString& error);

    std::unique_ptr<Ui::TForm3> ui;
    QLabel* m_panel0;
    QLabel* m_panel1;
    QMenu* PopupMenu1;
    QTimer* Timer1;
    Connection ADOConnection1;
    Query ADOQuery1;
    bool m_ending = false;
    bool m_closing = false;
    QString m_startupError;
};
