#include "customers/Unit23.h"

#include "ui_Unit23.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "data/Values.h"
#include "data/WeekdayText.h"
#include "ui/Guard.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"
#include "ui/Seams.h"

#include <QHeaderView>

#include <stdexcept>

namespace {
QString shown(const QDate& d) {
    return Values::displayText(FieldType::Date, d);
}

QString iso(const QDate& d) {
    return QLatin1Char('\'') + Values::isoFromDate(d) + QLatin1Char('\'');
}

// The birthdays of one year of the span. The birth date is stored as ISO text; a value
// that is not one (typed in by another program) has no birthday to list.
QString yearBranch(int year, const QDate& from, const QDate& to) {
    const QString y = QString::number(year);
    const QString monthDay = QStringLiteral("substr(HMEROMHNIA_GENNHSEWS,5,6)");
    const bool leap = QDate::isLeapYear(year);
    const QString day =
        leap ? QStringLiteral("('%1' || %2)").arg(y, monthDay)
             : QStringLiteral("(CASE WHEN substr(HMEROMHNIA_GENNHSEWS,6,5)='02-29' THEN '%1-02-28' "
                              "ELSE '%1' || %2 END)")
                   .arg(y, monthDay);
    const QString born = QStringLiteral("CAST(substr(HMEROMHNIA_GENNHSEWS,1,4) AS INTEGER)");
    return QStringLiteral("SELECT %1 AS MERA, %2 AS HMERA, Format(%1,'d/m/yyyy') AS GENETHLIA, "
                          "EPWNYMO, ONOMA, HMEROMHNIA_GENNHSEWS, %3 - %4 AS ILIKIA, THLEFWNO_1, "
                          "THLEFWNO_2, ID FROM STOIXEIA_PELATH WHERE HMEROMHNIA_GENNHSEWS GLOB "
                          "'[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]*' AND %4 < %3 AND %1 "
                          "BETWEEN %5 AND %6")
        .arg(day, WeekdayText::sql(day), y, born, iso(from), iso(to));
}
} // namespace

TForm23::TForm23(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm23>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    RvDataSetConnection23 =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection23"), ADOQuery1, this);
    RvProject23 = new RvProject(QStringLiteral("RvProject23"), this);
    makeValueLabel(ui->Label3);

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("HMERA"), QStringLiteral("Ημέρα"), Qt::AlignLeft, 80},
        {QStringLiteral("GENETHLIA"), QStringLiteral("Γενέθλια"), Qt::AlignCenter, 80},
        {QStringLiteral("EPWNYMO"), QStringLiteral("Επώνυμο"), Qt::AlignLeft, 150},
        {QStringLiteral("ONOMA"), QStringLiteral("Όνομα"), Qt::AlignLeft, 110},
        {QStringLiteral("HMEROMHNIA_GENNHSEWS"), QStringLiteral("Ημερ.Γενν."), Qt::AlignCenter, 80},
        {QStringLiteral("ILIKIA"), QStringLiteral("Γίνεται"), Qt::AlignCenter, 60},
        {QStringLiteral("THLEFWNO_1"), QStringLiteral("Τηλέφωνο 1"), Qt::AlignLeft, 110},
        {QStringLiteral("THLEFWNO_2"), QStringLiteral("Τηλέφωνο 2"), Qt::AlignLeft, 110},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    // Birthdays are looked up around the present; the pickers still reach any year a
    // salon's list could be asked for.
    for (DatePicker* picker : {ui->DateTimePicker1, ui->DateTimePicker2})
        picker->setDateRange(QDate(1940, 1, 1), QDate(2100, 12, 31));
    const QDate today = Clock::today();
    const auto [weekFrom, weekTo] = spanOf(Span::Week, today);
    ui->DateTimePicker1->setDate(weekFrom);
    ui->DateTimePicker2->setDate(weekTo);

    const std::pair<QRadioButton*, Span> spans[] = {{ui->RadioButton1, Span::Today},
                                                    {ui->RadioButton2, Span::Week},
                                                    {ui->RadioButton3, Span::Month}};
    for (const auto& [radio, span] : spans)
        connectGuarded(radio, &QRadioButton::toggled, this, [this, span = span](bool on) {
            if (on)
                RadioButtonClick(span);
        });
    // Going into a date, or picking one, chooses the span between the two dates.
    for (DatePicker* picker : {ui->DateTimePicker1, ui->DateTimePicker2}) {
        picker->installEventFilter(this);
        connect(picker, &DatePicker::dateChanged, this,
                [this] { ui->RadioButton4->setChecked(true); });
    }

    // Enter after a typed date shows its span.
    ui->Button1->setDefault(true);
    setCancelButton(ui->Button3);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm23::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm23::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm23::Button3Click);
}

TForm23::~TForm23() = default;

std::pair<QDate, QDate> TForm23::spanOf(Span span, const QDate& today) {
    switch (span) {
    case Span::Week: {
        const QDate monday = today.addDays(1 - today.dayOfWeek());
        return {monday, monday.addDays(6)};
    }
    case Span::Month: {
        const QDate first(today.year(), today.month(), 1);
        return {first, first.addDays(today.daysInMonth() - 1)};
    }
    case Span::Today:
        break;
    }
    return {today, today};
}

QString TForm23::listSql(const QDate& from, const QDate& to) {
    QStringList branches;
    for (int year = from.year(); year <= to.year(); ++year)
        branches << yearBranch(year, from, to);
    return branches.join(QStringLiteral(" UNION ALL ")) +
           QStringLiteral(" ORDER BY MERA, EPWNYMO, ONOMA");
}

QString TForm23::countText(int count) {
    return QStringLiteral("Βρέθηκαν ") + QString::number(count) + QStringLiteral(" πελάτες");
}

QString TForm23::spanRefusal(const QDate& from, const QDate& to) {
    if (to < from)
        return QStringLiteral("Η ημερομηνία \"Μέχρι\" (%1) είναι πριν από την ημερομηνία \"Από\" "
                              "(%2). Δώστε πρώτα την αρχή του διαστήματος.")
            .arg(shown(to), shown(from));
    if (to >= from.addYears(1))
        return QStringLiteral("Το διάστημα από %1 έως %2 είναι μεγαλύτερο από ένα έτος, οπότε "
                              "κάποια γενέθλια θα έπεφταν δύο φορές μέσα του. Δώστε διάστημα "
                              "μικρότερο από ένα έτος.")
            .arg(shown(from), shown(to));
    return {};
}

bool TForm23::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn &&
        (watched == ui->DateTimePicker1 || watched == ui->DateTimePicker2))
        ui->RadioButton4->setChecked(true);
    return Screen::eventFilter(watched, event);
}

void TForm23::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    Button1Click();
    ui->DBGrid1->setFocus();
}

void TForm23::FormClose() {
    ADOConnection1->close();
}

void TForm23::RadioButtonClick(Span span) {
    const auto [from, to] = spanOf(span, Clock::today());
    ShowBirthdays(from, to);
}

void TForm23::Button1Click() {
    if (ui->RadioButton1->isChecked())
        return RadioButtonClick(Span::Today);
    if (ui->RadioButton2->isChecked())
        return RadioButtonClick(Span::Week);
    if (ui->RadioButton3->isChecked())
        return RadioButtonClick(Span::Month);
    // A date still being typed has been refused with its own message as the field was left.
    if (ui->DateTimePicker1->isTyping() || ui->DateTimePicker2->isTyping())
        return;
    const QDate from = ui->DateTimePicker1->date();
    const QDate to = ui->DateTimePicker2->date();
    const QString refusal = spanRefusal(from, to);
    if (!refusal.isEmpty()) {
        // A list of an earlier span would read as the answer to this one.
        ClearList();
        Messages::information(this, refusal);
        ui->DateTimePicker2->setFocus();
        return;
    }
    ShowBirthdays(from, to);
}

void TForm23::ShowBirthdays(const QDate& from, const QDate& to) {
    if (!ADOConnection1->isConnected())
        ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(listSql(from, to));
    m_from = QDate();
    m_to = QDate();
    ADOQuery1->open();
    m_from = from;
    m_to = to;
    ui->Label3->setText(countText(ADOQuery1->recordCount()));
}

void TForm23::ClearList() {
    ADOQuery1->close();
    m_from = QDate();
    m_to = QDate();
    ui->Label3->clear();
}

void TForm23::Button2Click() {
    if (!ADOQuery1->isActive() || !m_from.isValid())
        throw UserError(QStringLiteral("Δεν υπάρχει λίστα γενεθλίων για εκτύπωση. Επιλέξτε πρώτα "
                                       "διάστημα."));
    RvProject23->setParam(QStringLiteral("Period"),
                          m_from == m_to ? WeekdayText::of(m_from) + u' ' + shown(m_from)
                                         : shown(m_from) + QStringLiteral(" - ") + shown(m_to));
    RvProject23->setSubject(m_from == m_to ? shown(m_from)
                                           : shown(m_from) + QStringLiteral(" - ") + shown(m_to));
    RvProject23->setProjectFile(Global::AppDirectory + QStringLiteral("/GENETHLIA.RAV"));
    RvProject23->execute();
}

void TForm23::Button3Click() {
    close();
}
