#include "tools/Unit8.h"

#include "ui_Unit8.h"

#include "data/Values.h"
#include "ui/Guard.h"
#include "ui/Seams.h"

namespace {
// As the program shows every date.
QString shortDate(const QDate& d) {
    return Values::displayText(FieldType::Date, d);
}
} // namespace

TForm8::TForm8(QWidget* parent) : Screen(parent), ui(std::make_unique<Ui::TForm8>()) {
    ui->setupUi(this);
    makeValueLabel(ui->Label2);
    makeValueLabel(ui->Label7);
    QPalette white = ui->Label5->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->Label5->setPalette(white);
    ui->Label5->setAutoFillBackground(true);

    ui->SpinEdit1->setRange(1583, 2100);
    ui->SpinEdit1->setSingleStep(1);
    for (DatePicker* picker : {ui->DateTimePicker1, ui->DateTimePicker2})
        picker->setDateRange(QDate(1940, 1, 1), QDate(2050, 1, 1));

    setCancelButton(ui->Button1);
    connectGuarded(ui->SpinEdit1, &SpinEdit::textEdited, this, &TForm8::SpinEdit1Change);
    connectGuarded(ui->DateTimePicker1, &DatePicker::dateChanged, this,
                   &TForm8::DateTimePicker1Change);
    connectGuarded(ui->DateTimePicker2, &DatePicker::dateChanged, this,
                   &TForm8::DateTimePicker2Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm8::Button1Click);

    FormCreate();
}

TForm8::~TForm8() = default;

void TForm8::FormCreate() {
    const QDate today = Clock::today();
    Year = quint16(today.year());
    Month = quint16(today.month());
    Day = quint16(today.day());

    ui->SpinEdit1->setValue(Year);
    find_pasxa();
    ui->MonthCalendar1->setSelectedDate(today);
    ui->DateTimePicker1->setDate(today);
    ui->DateTimePicker2->setDate(today);
    ui->Edit1->setText(shortDate(ui->DateTimePicker1->date()));
    ui->Edit2->setText(shortDate(ui->DateTimePicker2->date()));
    DaysBetweenDates();
}

QString TForm8::EasterText(int year) {
    if (year < 1583 || year > 2100)
        return QString();
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + 16) % 30;
    const int e = (2 * b + 4 * c + 6 * d) % 7;
    const int n = d + e + 3;
    if (n < 31)
        return QStringLiteral("είναι ") + QString::number(n) + QStringLiteral(" Απριλίου");
    return QStringLiteral("είναι ") + QString::number(n - 30) + QStringLiteral(" Μαϊου");
}

QString TForm8::DaysText(const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid() || from >= to)
        return QString();
    return QStringLiteral("Αριθμός ημερών=") + QString::number(from.daysTo(to));
}

void TForm8::find_pasxa() {
    ui->Label2->setText(EasterText(ui->SpinEdit1->textValue()));
}

void TForm8::DaysBetweenDates() {
    ui->Label7->setText(DaysText(ui->DateTimePicker1->date(), ui->DateTimePicker2->date()));
}

void TForm8::SpinEdit1Change() {
    find_pasxa();
}

void TForm8::DateTimePicker1Change() {
    ui->Edit1->setText(shortDate(ui->DateTimePicker1->date()));
    DaysBetweenDates();
}

void TForm8::DateTimePicker2Change() {
    ui->Edit2->setText(shortDate(ui->DateTimePicker2->date()));
    DaysBetweenDates();
}

void TForm8::Button1Click() {
    close();
}
