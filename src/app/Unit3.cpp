#include "app/Unit3.h"

#include "ui_Unit3.h"

#include "access/AccessCode.h"
#include "access/Unit100.h"
#include "access/Unit65.h"
#include "access/Unit66.h"
#include "app/Unit4.h"
#include "app/Unit62.h"
#include "appointments/Unit11.h"
#include "appointments/Unit12.h"
#include "appointments/Unit1a.h"
#include "appointments/Unit24.h"
#include "customers/Unit16.h"
#include "customers/Unit17.h"
#include "customers/Unit23.h"
#include "data/DataFileCheck.h"
#include "data/Global.h"
#include "data/StoreError.h"
#include "data/UserError.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "receipts/Unit59.h"
#include "receipts/Unit68.h"
#include "receipts/Unit71.h"
#include "receipts/Unit73.h"
#include "receipts/Unit9.h"
#include "tools/Unit10.h"
#include "tools/Unit6.h"
#include "tools/Unit8.h"
#include "ui/Commands.h"
#include "ui/Guard.h"
#include "ui/LongLived.h"
#include "ui/Screen.h"
#include "ui/Seams.h"
#include "ui/Vendor.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

namespace {
const QString kDefaultAccessCode = QStringLiteral("58204613");

// Opens a screen made afresh for this command, modally over the main window.
template <class T> void openScreen(QWidget* parent) {
    T form(parent);
    Modal::exec(form);
}

// Shows the one instance made at program start.
template <class T> void openLongLived() {
    T* form = LongLived::find<T>();
    if (!form)
        throw UserError(QStringLiteral("Η οθόνη δεν είναι διαθέσιμη."));
    Modal::exec(*form);
}
} // namespace

TForm3::TForm3(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm3>()), PopupMenu1(new QMenu(this)),
      Timer1(new QTimer(this)), ADOQuery1(this) {
    ui->setupUi(this);
    setFont(Screen::screenFont());
    QPalette p = palette();
    p.setColor(QPalette::Window, Screen::skyBlue());
    setPalette(p);
    setAutoFillBackground(true);
    for (QWidget* w : {static_cast<QWidget*>(ui->Background), static_cast<QWidget*>(ui->Centre),
                       static_cast<QWidget*>(ui->Panel1), static_cast<QWidget*>(ui->Panel3),
                       static_cast<QWidget*>(ui->Panel4)})
        w->setAutoFillBackground(false);

    ADOQuery1.setConnection(&ADOConnection1);

    m_panel0 = new QLabel(this);
    m_panel0->setObjectName(QStringLiteral("StatusBar1Panel0"));
    m_panel0->setFixedWidth(190);
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_panel1->setFixedWidth(520);
    ui->StatusBar1->addWidget(m_panel0);
    ui->StatusBar1->addWidget(m_panel1);

    ui->BitBtn1->setText(QStringLiteral(" "));
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui->Panel4->hide();

    // The separators of the menu carry their names too.
    const QStringList separators = {QStringLiteral("N23"), QStringLiteral("N25"),
                                    QStringLiteral("N26"), QStringLiteral("N9"),
                                    QStringLiteral("N27"), QStringLiteral("N31")};
    int next = 0;
    for (QAction* a : ui->N1->actions())
        if (a->isSeparator() && next < separators.size())
            a->setObjectName(separators[next++]);

    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (QWidget* w : {static_cast<QWidget*>(ui->Background), static_cast<QWidget*>(ui->Centre),
                       static_cast<QWidget*>(ui->Image1), static_cast<QWidget*>(ui->StatusBar1),
                       static_cast<QWidget*>(ui->Panel1), static_cast<QWidget*>(ui->Panel3)})
        w->installEventFilter(this);

    // Commands whose screens are not part of the program yet stay visible but disabled.
    bindCommand(this, ui->N17, ui->Button2, &TForm3::N17Click);
    bindCommand(this, ui->N16, ui->Button1, &TForm3::N16Click);
    bindCommand(this, ui->N13, ui->Button13, &TForm3::N13Click);
    bindCommand(this, ui->N14, ui->Button6, &TForm3::N14Click);
    bindCommand(this, ui->N15, ui->Button7, &TForm3::N15Click);
    bindCommand(this, ui->N18, nullptr, &TForm3::N18Click);
    bindCommand(this, ui->N19, ui->Button9, &TForm3::N19Click);
    bindCommand(this, ui->N3, ui->Button12, &TForm3::N3Click);
    bindCommand(this, ui->Y1, ui->Button5, &TForm3::Y1Click);
    bindCommand(this, ui->N10, ui->Button4, &TForm3::N10Click);
    bindCommand(this, ui->N4, ui->Button11, &TForm3::N4Click);
    bindCommand(this, ui->N5, ui->Button10, &TForm3::N5Click);
    bindCommand(this, ui->N28, ui->Button14, &TForm3::N28Click);
    bindCommand(this, ui->Backup1, nullptr, &TForm3::Backup1Click);
    bindCommand(this, ui->N2, nullptr, &TForm3::N2Click);
    bindCommand(this, ui->N8, nullptr, &TForm3::N8Click);
    bindCommand(this, ui->N7, nullptr, &TForm3::N7Click);
    bindCommand(this, ui->N11, nullptr, &TForm3::N11Click);
    bindCommand(this, ui->About1, nullptr, &TForm3::About1Click);
    bindCommand(this, ui->N22, nullptr, &TForm3::N22Click);
    bindCommand(this, ui->N29, nullptr, &TForm3::N29Click);
    bindCommand(this, ui->N30, nullptr, &TForm3::N30Click);
    connectGuarded(ui->BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);

    Timer1->setInterval(1000);
    connectGuarded(Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);
    Timer1->start();

    try {
        FormCreate();
    } catch (const std::exception& e) {
        RefuseStart(StoreError::forPerson(e));
    } catch (...) {
        RefuseStart(UserErrors::unexpected());
    }
}

TForm3::~TForm3() = default;

QString TForm3::productLine() {
    return QStringLiteral("Marivelle — πελάτες, ραντεβού, αποδείξεις και έξοδα του "
                          "κομμωτηρίου. ") +
           Vendor::version();
}

QString TForm3::noticeText() {
    const QChar cr(u'\r');
    return QStringLiteral("Important Information") + cr + cr +
           QStringLiteral("Please read carefully") + cr + cr +
           QStringLiteral("1) If you see rubbish (unreadable characters) instead of Greek "
                          "characters you must reconfigure your Windows operating system to "
                          "support Greek system characters.") +
           cr + cr +
           QStringLiteral("2) The recommended screen resolution is 1024 x 768 or higher. Lower "
                          "resolution may cause application forms seem incorrect.");
}

QString TForm3::backupText() {
    return QStringLiteral("Για να κάνετε backup τη βάση δεδομένων του λογισμικού πρέπει να "
                          "αντιγράψετε (να κάνετε copy) σε ") +
           QStringLiteral("ένα USB Flash Drive ή σε ένα CD ή κάπου αλλού, το αρχείο data.mdb "
                          "που βρίσκεται στο φάκελο ") +
           QStringLiteral("(directory) όπου είναι εγκατεστημένο το λογισμικό. Όταν θα κάνετε "
                          "την αντιγραφή να προσέξετε ώστε ") +
           QStringLiteral("το πρόγραμμα να μην είναι φορτωμένο, δηλαδή να μην τρέχει.") +
           QStringLiteral(" Με τον ίδιο τρόπο μπορείτε να μεταφέρετε τα δεδομένα σας, μέσα στο "
                          "αρχείο data.mdb, σε άλλον υπολογιστή και να εργαστείτε με αυτά εκεί.");
}

QStringList TForm3::calculatorPrograms() {
    QStringList programs = {QStringLiteral("gnome-calculator"),
                            QStringLiteral("kcalc"),
                            QStringLiteral("galculator"),
                            QStringLiteral("mate-calc"),
                            QStringLiteral("qalculate-qt"),
                            QStringLiteral("qalculate-gtk"),
                            QStringLiteral("xcalc")};
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    const std::pair<const char*, const char*> own[] = {
        {"KDE", "kcalc"}, {"MATE", "mate-calc"}, {"XFCE", "galculator"}, {"LXDE", "galculator"}};
    for (const auto& [name, program] : own)
        if (desktop.split(u':').contains(QLatin1String(name))) {
            programs.move(programs.indexOf(QLatin1String(program)), 0);
            break;
        }
    return programs;
}

QString TForm3::noCalculatorText() {
    const QString package = calculatorPrograms().constFirst();
    return QStringLiteral("Δεν βρέθηκε αριθμομηχανή εγκατεστημένη στον υπολογιστή. Εγκαταστήστε "
                          "το πακέτο %1 (με την εντολή: sudo apt install %1) και δοκιμάστε ξανά.")
        .arg(package);
}

// ---- start-up ----

void TForm3::FormCreate() {
    Global::NumberingLocked = false;

    const QDate today = Clock::today();
    TodayYear = quint16(today.year());
    TodayMonth = quint16(today.month());
    TodayDay = quint16(today.day());
    ui->MonthCalendar1->setSelectedDate(today);

    m_panel1->setText(productLine());
    Timer1Timer();

    Global::AppDirectory = QDir::currentPath();

    {
        TForm4 splash(this);
        Modal::exec(splash);
    }

    Messages::information(this, noticeText());

    Global::ConnectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") +
        Global::AppDirectory + QStringLiteral("/data.mdb") +
        QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=") +
        Global::DatabasePassword;

    Global::AccessGranted = false;
    // Before anything is read from it, the file is checked (sealed again after another
    // program's edit) and compared with the receipt record; what that found is told once.
    for (const QString& note : DataFileCheck::atStart(Global::ConnectionString))
        Messages::information(this, note);
    ADOConnection1.setUp(Global::ConnectionString);
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOQuery1.addSql(QStringLiteral("SELECT * FROM SECURITY"));
    ADOQuery1.open();
    StoredAccessCode = AccessCode::firstColumnOfFirstRow(ADOQuery1);
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOConnection1.close();

    // A blank code could never be typed at the check, so it is defined like the shipped one.
    if (StoredAccessCode == kDefaultAccessCode || StoredAccessCode.isEmpty()) {
        TForm100 definition(this);
        Modal::exec(definition);
    }
    {
        TForm65 check(this);
        Modal::exec(check);
    }
    if (!Global::AccessGranted) {
        EndProgram();
        return;
    }

    CheckTodaysReminders();
    showMaximized();
    CheckReceiptNumbering();
}

void TForm3::RefuseStart(const QString& error) {
    m_startupError = error;
    // Started from a desktop menu, an end without a word would look like a crash.
    Messages::error(nullptr, DataFileCheck::refusalText(
                                 Global::AppDirectory + QStringLiteral("/data.mdb"), error));
    EndProgram();
}

void TForm3::EndProgram() {
    m_ending = true;
    setEnabled(false);
    hide();
    setWindowState(Qt::WindowMinimized);
    Timer1->stop();
    QCoreApplication::quit();
}

void TForm3::CheckTodaysReminders() {
    const QString where = QStringLiteral(" WHERE DAY(HMEROMHNIA)=") + QString::number(TodayDay) +
                          QStringLiteral(" AND MONTH(HMEROMHNIA)=") + QString::number(TodayMonth) +
                          QStringLiteral(" AND YEAR(HMEROMHNIA)=") + QString::number(TodayYear);
    ADOConnection1.setUp(Global::ConnectionString);
    ADOQuery1.clearSql();
    ADOQuery1.addSql(QStringLiteral("SELECT HMEROMHNIA from YPENTHIMISEIS") + where);
    ADOQuery1.open();
    const int count = ADOQuery1.recordCount();
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOConnection1.close();

    // Two reminders on one day are not shown at all, only a single one.
    if (count != 1)
        return;
    TForm12 reminder(this);
    reminder.ADOQuery1->close();
    reminder.ADOQuery1->clearSql();
    reminder.ADOQuery1->addSql(QStringLiteral("SELECT * from YPENTHIMISEIS") + where);
    reminder.setKeepShowErrors(true);
    Modal::exec(reminder);
    if (reminder.showFailure())
        std::rethrow_exception(reminder.showFailure());
}

void TForm3::CheckReceiptNumbering() {
    Global::NumberingLocked = false;
    ADOConnection1.setUp(Global::ConnectionString);
    ADOQuery1.clearSql();
    ADOQuery1.addSql(QStringLiteral("SELECT * from LAST_APODEIKSH"));
    ADOQuery1.open();
    const int count = ADOQuery1.recordCount();
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOConnection1.close();
    if (count != 0) {
        ui->N8->setVisible(false);
        Global::NumberingLocked = true;
    }
}

// ---- handlers ----

void TForm3::Timer1Timer() {
    m_panel0->setText(Clock::now().toString(QStringLiteral("d/M/yyyy HH:mm:ss")));
}

void TForm3::BitBtn1Click() {
    ui->Panel4->setVisible(!ui->Panel4->isVisible());
}

void TForm3::Backup1Click() {
    Messages::information(this, backupText());
}

void TForm3::N5Click() {
    if (!Launcher::startDetached(calculatorPrograms()))
        Messages::error(this, noCalculatorText());
}

void TForm3::N17Click() {
    openScreen<TForm17>(this);
}

void TForm3::N16Click() {
    openScreen<TForm16>(this);
}

void TForm3::N28Click() {
    openScreen<TForm1a>(this);
}

void TForm3::N13Click() {
    openScreen<TForm13>(this);
}

void TForm3::N14Click() {
    openLongLived<TForm14>();
}

void TForm3::N15Click() {
    openLongLived<TForm15>();
}

void TForm3::N18Click() {
    openScreen<TForm59>(this);
}

void TForm3::Y1Click() {
    openScreen<TForm11>(this);
}

void TForm3::N19Click() {
    openScreen<TForm71>(this);
}

void TForm3::N3Click() {
    openScreen<TForm6>(this);
}

void TForm3::N10Click() {
    openScreen<TForm10>(this);
}

void TForm3::N4Click() {
    openScreen<TForm8>(this);
}

void TForm3::N2Click() {
    openScreen<TForm68>(this);
}

void TForm3::N8Click() {
    openScreen<TForm9>(this);
    // Once the counter has its row, numbering is fixed and the command goes.
    CheckReceiptNumbering();
}

void TForm3::N7Click() {
    openScreen<TForm73>(this);
}

void TForm3::N11Click() {
    openScreen<TForm66>(this);
}

void TForm3::About1Click() {
    openScreen<TForm62>(this);
}

void TForm3::N22Click() {
    close();
}

void TForm3::N29Click() {
    openScreen<TForm23>(this);
}

void TForm3::N30Click() {
    openScreen<TForm24>(this);
}

void TForm3::PopupMenu1Popup() {
    Launcher::openUrl(Vendor::webSite());
}

void TForm3::FormDblClick() {
    Launcher::openUrl(Vendor::webSite());
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        runGuarded(this, [this] { FormDblClick(); });
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        // The pop-up menu has no items: its opening is what the user asked for.
        runGuarded(this, [this] { PopupMenu1Popup(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (m_ending || m_closing) {
        event->accept();
        return;
    }
    const bool ended = runGuarded(this, [&] {
        if (!Messages::question(this, QStringLiteral("Έξοδος;"))) {
            event->ignore();
            return;
        }
        hide();
        {
            TForm4 splash(nullptr);
            Modal::exec(splash);
        }
        m_closing = true;
        event->accept();
        Timer1->stop();
        QCoreApplication::quit();
    });
    if (!ended)
        event->ignore();
}
