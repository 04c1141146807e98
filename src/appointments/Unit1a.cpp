#include "appointments/Unit1a.h"

#include "ui_Unit1a.h"

#include "appointments/Unit2a.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/StoreError.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor kBlack(0, 0, 0);
const QColor kGray(128, 128, 128);
const QColor kTodayGreen(0, 128, 0);
const QColor kWeekdayGreen(0, 128, 0);
const QColor kWeekendLime(0, 255, 0);
const QColor kBlue(0, 0, 255);

const QStringList kMonths = {
    QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος"), QStringLiteral("Μάρτιος"),
    QStringLiteral("Απρίλιος"),   QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
    QStringLiteral("Ιούλιος"),    QStringLiteral("Αύγουστος"),   QStringLiteral("Σεπτέμβριος"),
    QStringLiteral("Οκτώβριος"),  QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος")};

// The columns a day's row is counted over: its date and the 28 slots.
constexpr int kCountedColumns = 29;

// Day d/m/y as the calendar writes it, day first and without leading zeros.
QString dateText(int day, int month, int year) {
    return QStringLiteral("%1/%2/%3").arg(day).arg(month).arg(year);
}

// Blanks and control characters at either end do not make a slot booked.
bool isBlank(const QString& text) {
    for (const QChar c : text)
        if (!c.isSpace() && c.category() != QChar::Other_Control)
            return false;
    return true;
}
} // namespace

TForm1a::TForm1a(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm1a>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), ADOCommand1(new Command(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));
    ADOQuery1->setConnection(ADOConnection1);
    ADOCommand1->setConnection(ADOConnection1);

    ui->ComboBox1->addItems(kMonths);
    for (int year = kFirstYear; year <= kLastYear; ++year)
        ui->ComboBox2->addItem(QString::number(year));
    for (QComboBox* list : {ui->ComboBox1, ui->ComboBox2}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Text, kBlue);
        p.setColor(QPalette::ButtonText, kBlue);
        list->setPalette(p);
        // Without this the platform style drops the whole list down, whatever its limit.
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    }
    buildCells();

    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm1a::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm1a::Button2Click);
    // Only a person's choice rebuilds the grid; GoToToday selects without it.
    connectGuarded(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1a::ComboBox1Change);
    connectGuarded(ui->ComboBox2, &QComboBox::currentIndexChanged, this, &TForm1a::ComboBox2Change);

    runGuarded(parent, [this] { FormCreate(); });
}

TForm1a::~TForm1a() = default;

void TForm1a::buildCells() {
    // The header row and 37 cells alike but for their number, made here rather than drawn
    // one by one: rows 1-5 hold cells 1-35, row 6 only cells 36 and 37.
    ui->GridPanel->setAutoFillBackground(false);
    for (int column = 0; column < 7; ++column) {
        auto* header = ui->GridPanel->findChild<QLabel*>(QStringLiteral("Label%1").arg(column + 2));
        QFont f = header->font();
        f.setBold(true);
        header->setFont(f);
        header->setAutoFillBackground(true);
        header->setFrameShape(QFrame::Box);
        QPalette p = header->palette();
        p.setColor(QPalette::Window, Qt::black);
        p.setColor(QPalette::WindowText, column < 5 ? kWeekdayGreen : kWeekendLime);
        header->setPalette(p);
        header->setFixedHeight(24);
    }

    QFont dayFont = font();
    dayFont.setBold(true);
    QFont countFont = font();
    countFont.setBold(true);
    countFont.setPixelSize(28);
    for (int k = 1; k <= kCells; ++k) {
        auto* cell = new QFrame(ui->GridPanel);
        cell->setObjectName(QStringLiteral("Shape%1").arg(k));
        cell->setFrameShape(QFrame::Box);
        cell->setFixedSize(92, 66);
        cell->setAutoFillBackground(true);
        QPalette cellPalette = cell->palette();
        cellPalette.setColor(QPalette::Window, Qt::white);
        cellPalette.setColor(QPalette::WindowText, kGray);
        cell->setPalette(cellPalette);

        auto* day = new QLabel(cell);
        day->setObjectName(QStringLiteral("LabelD%1").arg(k));
        day->setAlignment(Qt::AlignCenter);
        day->setFont(dayFont);
        day->setCursor(Qt::PointingHandCursor);
        // Reachable by Tab too, so that a day opens from the keyboard (Enter or Space).
        day->setFocusPolicy(Qt::TabFocus);
        day->installEventFilter(this);

        auto* count = new QLabel(cell);
        count->setObjectName(QStringLiteral("LabelR%1").arg(k));
        count->setAlignment(Qt::AlignCenter);
        count->setFont(countFont);
        count->setFixedHeight(32);
        QPalette countPalette = count->palette();
        countPalette.setColor(QPalette::WindowText, Qt::red);
        count->setPalette(countPalette);

        auto* layout = new QVBoxLayout(cell);
        layout->setContentsMargins(2, 3, 2, 3);
        layout->setSpacing(0);
        layout->addWidget(day);
        layout->addWidget(count);
        layout->addStretch();

        const int row = (k - 1) / 7 + 1;
        const int column = (k - 1) % 7;
        ui->gridLayout->addWidget(cell, row, column);
        LabelD[k] = day;
        LabelR[k] = count;
    }
    ui->gridLayout->setRowMinimumHeight(6, 66);
}

void TForm1a::FormCreate() {
    const QDate today = Clock::today();
    TodayYear = quint16(today.year());
    TodayMonth = quint16(today.month());
    TodayDay = quint16(today.day());
    GoToToday();
}

void TForm1a::Button1Click() {
    close();
}

void TForm1a::Button2Click() {
    GoToToday();
}

void TForm1a::ComboBox1Change() {
    BuildMonthGrid();
}

void TForm1a::ComboBox2Change() {
    BuildMonthGrid();
}

void TForm1a::FormClose() {
    ADOConnection1->close();
}

void TForm1a::GoToToday() {
    // A clock outside the list's years shows today's month in the nearest listed year, so
    // the book stays usable; no day is marked as today then.
    const int year = std::clamp(int(TodayYear), kFirstYear, kLastYear);
    {
        const QSignalBlocker monthBlocker(ui->ComboBox1);
        const QSignalBlocker yearBlocker(ui->ComboBox2);
        ui->ComboBox1->setCurrentIndex(TodayMonth - 1);
        ui->ComboBox2->setCurrentIndex(year - kFirstYear);
    }
    BuildMonthGrid();
}

void TForm1a::BuildMonthGrid() {
    SelectedYearText = ui->ComboBox2->currentText();
    Global::CalendarYear = SelectedYearText.toInt();
    Global::CalendarMonth = ui->ComboBox1->currentIndex() + 1;
    const int year = Global::CalendarYear;
    LeapYear = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    switch (Global::CalendarMonth) {
    case 4:
    case 6:
    case 9:
    case 11:
        DaysInMonth = 30;
        break;
    case 2:
        DaysInMonth = LeapYear ? 29 : 28;
        break;
    default:
        DaysInMonth = 31;
    }
    FirstWeekday();

    for (int k = 1; k <= kCells; ++k) {
        LabelD[k]->hide();
        LabelD[k]->clear();
        LabelR[k]->hide();
        LabelR[k]->clear();
    }
    for (int k = 1; k <= kCells; ++k) {
        const int column = (k - 1) % 7 + 1;
        setDayColour(k, column >= 6 && k <= 35 ? kGray : kBlack);
    }

    DayCounter = 0;
    for (int k = WeekdayOfFirst; k <= kCells && DayCounter < DaysInMonth; ++k) {
        ++DayCounter;
        LabelD[k]->show();
        LabelD[k]->setText(QString::number(DayCounter));
    }
    for (int k = 1; k <= kCells; ++k)
        LabelR[k]->setVisible(!LabelD[k]->isHidden());

    if (Global::CalendarMonth == TodayMonth && Global::CalendarYear == TodayYear) {
        const QString today = QString::number(TodayDay);
        for (int k = 1; k <= kCells; ++k)
            if (LabelD[k]->text() == today)
                setDayColour(k, kTodayGreen);
    }

    RefreshDayCounts();
}

void TForm1a::setDayColour(int k, const QColor& colour) {
    QPalette p = LabelD[k]->palette();
    p.setColor(QPalette::WindowText, colour);
    LabelD[k]->setPalette(p);
}

void TForm1a::FirstWeekday() {
    int m = Global::CalendarMonth;
    int y = Global::CalendarYear;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    // 3(m+1)/5 in integers: 0.6·(m+1) taken in floating point misses the whole numbers.
    const int n = 1 + 2 * m + 3 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400;
    WeekdayOfFirst = quint16(n % 7 + 1);
}

void TForm1a::RefreshDayCounts() {
    ADOConnection1->setUp(Global::ConnectionString);
    for (int d = 1; d <= DaysInMonth; ++d) {
        QString literal = dateText(d, Global::CalendarMonth, Global::CalendarYear);
        Global::ToJetDate(literal);
        ADOQuery1->close();
        ADOQuery1->clearSql();
        ADOQuery1->addSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") + literal);
        ADOQuery1->open();

        // The date is always filled, so starting at -1 leaves the number of booked slots.
        // A day without a row reads as empty throughout and keeps -1.
        int n = -1;
        const int columns =
            ADOQuery1->isEmpty() ? 0 : std::min(kCountedColumns, ADOQuery1->fieldCount());
        for (int i = 0; i < columns; ++i) {
            try {
                if (!isBlank(ADOQuery1->field(i)->displayText()))
                    ++n;
            } catch (const std::exception&) {
                // A column that cannot be read is left out of the count.
            }
        }
        if (n > 0)
            SetDayCount(d, n);
        else
            ClearDayCount(d);
    }
    ADOQuery1->close();
    ADOConnection1->close();
}

int TForm1a::cellOfDay(int day) const {
    const QString caption = QString::number(day);
    for (int k = 1; k <= kCells; ++k)
        if (LabelD[k]->text() == caption)
            return k;
    return 0;
}

void TForm1a::SetDayCount(int day, int count) {
    if (const int k = cellOfDay(day))
        LabelR[k]->setText(QString::number(count));
}

void TForm1a::ClearDayCount(int day) {
    if (const int k = cellOfDay(day))
        LabelR[k]->clear();
}

bool TForm1a::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(LabelD.begin() + 1, LabelD.end(), watched);
    if (found == LabelD.end())
        return Screen::eventFilter(watched, event);
    const int k = int(found - LabelD.begin());
    QLabel* label = LabelD[k];

    bool chosen = false;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A label draws no focus of its own; a box shows which day the keyboard is on.
        label->setFrameShape(event->type() == QEvent::FocusIn ? QFrame::Box : QFrame::NoFrame);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        chosen = mouse->button() == Qt::LeftButton &&
                 label->rect().contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        chosen = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (!chosen)
        return Screen::eventFilter(watched, event);
    runGuarded(this, [this, k] { LabelDClick(k); });
    return true;
}

void TForm1a::LabelDClick(int k) {
    Global::CalendarDay = LabelD[k]->text().toInt();
    OpenDaySchedule();
}

void TForm1a::OpenDaySchedule() {
    ADOConnection1->setUp(Global::ConnectionString);
    const QString date = dateText(Global::CalendarDay, Global::CalendarMonth, Global::CalendarYear);
    QString literal = date;
    Global::ToJetDate(literal);
    Global::OpenDayLiteral = literal;

    // The first opening of a date makes its row; later ones are refused by the unique date,
    // which is expected. Any other refusal shows up below as a day without a row.
    ADOCommand1->setCommandText(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(") +
                                Global::OpenDayLiteral + u')');
    QString insertError;
    try {
        ADOCommand1->execute();
    } catch (const std::exception& e) {
        insertError = StoreError::forPerson(e);
    }
    ADOConnection1->close();

    TForm2a day(this);
    day.Label83->setText(date);
    day.ADOConnection1->setUp(Global::ConnectionString);
    day.ADOQuery1->close();
    day.ADOQuery1->clearSql();
    day.ADOQuery1->addSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") +
                          Global::OpenDayLiteral);
    day.ADOQuery1->open();

    if (day.ADOQuery1->isEmpty()) {
        // Slots typed into a day without a row could never be saved; say so instead.
        day.ADOQuery1->close();
        day.ADOConnection1->close();
        QString text = QStringLiteral("Η ημέρα %1 δεν μπόρεσε να καταχωρηθεί στο αρχείο, "
                                      "οπότε δεν μπορούν να γραφτούν ραντεβού σε αυτήν.")
                           .arg(date);
        if (!insertError.isEmpty())
            text += QStringLiteral("\r\r") + insertError;
        Messages::error(this, text);
    } else {
        Modal::exec(day);
    }
    RefreshDayCounts();
}
