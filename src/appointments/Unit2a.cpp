#include "appointments/Unit2a.h"

#include "ui_Unit2a.h"

#include "data/AppointmentBook.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "data/Values.h"
#include "data/WeekdayText.h"
#include "report/ReportLayout.h"
#include "ui/DBEdit.h"
#include "ui/Guard.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"
#include "ui/Seams.h"

#include <QDate>
#include <QFontMetricsF>
#include <QTime>

#include <stdexcept>

namespace {
constexpr int kRowsPerColumn = 14;
const QColor kInactiveCaption(191, 205, 219);
const QColor kDateBlue(0, 0, 255);

// The day sheet's usual text (10.5 pt at 96 dots an inch) and the width of its slot column
// on an A4 page, less the cell's padding.
constexpr int kSheetTextPixels = 14;
constexpr double kSheetLinePixels = 520;
} // namespace

TForm2a::TForm2a(QWidget* parent)
    : Screen(parent), Label83(nullptr), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)), ADOQuery2(new Query(this)),
      ui(std::make_unique<Ui::TForm2a>()) {
    ui->setupUi(this);
    Label83 = ui->Label83;
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    ADOQuery1->setConnection(ADOConnection1);
    ADOQuery2->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);
    RvDataSetConnection2a =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection2a"), ADOQuery2, this);
    RvProject2a = new RvProject(QStringLiteral("RvProject2a"), this);

    QFont dateFont = Label83->font();
    dateFont.setPointSize(16);
    dateFont.setBold(true);
    Label83->setFont(dateFont);
    QPalette datePalette = Label83->palette();
    datePalette.setColor(QPalette::WindowText, kDateBlue);
    Label83->setPalette(datePalette);

    // The 28 rows are alike but for their time, so they are made here rather than drawn one by
    // one: slots 1-14 on the left, 15-28 on the right, each a caption and its edit.
    QPalette slotPalette = palette();
    slotPalette.setColor(QPalette::Base, Qt::white);
    slotPalette.setColor(QPalette::Text, Qt::red);
    QFont slotFont = font();
    slotFont.setBold(true);
    ui->slotsLayout->setColumnMinimumWidth(2, 12);
    for (int k = 1; k <= kSlots; ++k) {
        const int row = (k - 1) % kRowsPerColumn;
        const int column = (k - 1) / kRowsPerColumn * 3;

        auto* panel = new QLabel(slotCaption(k), ui->Slots);
        panel->setObjectName(QStringLiteral("Panel%1").arg(k));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setAutoFillBackground(true);
        QPalette p = panel->palette();
        p.setColor(QPalette::Window, kInactiveCaption);
        panel->setPalette(p);
        panel->setFixedSize(90, 22);

        auto* edit = new DBEdit(ui->Slots);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(k));
        edit->setFrame(false);
        edit->setPalette(slotPalette);
        edit->setFont(slotFont);
        edit->setFixedSize(230, 22);
        edit->setDataSource(DataSource1);
        edit->setDataField(slotColumn(k));
        panel->setBuddy(edit);

        ui->slotsLayout->addWidget(panel, row, column);
        ui->slotsLayout->addWidget(edit, row, column + 1);
        Panel[k] = panel;
        DBEdit_[k] = edit;
    }
    for (int k = 1; k < kSlots; ++k)
        setTabOrder(DBEdit_[k], DBEdit_[k + 1]);
    setTabOrder(DBEdit_[kSlots], ui->Button30);
    setTabOrder(ui->Button30, ui->Button29);
    ui->Slots->setAutoFillBackground(false);
    ui->ScrollBox1->setMinimumSize(ui->Slots->sizeHint() + QSize(4, 4));

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Post);

    setCancelButton(ui->Button29);
    connectGuarded(ui->Button29, &QPushButton::clicked, this, &TForm2a::Button29Click);
    connectGuarded(ui->Button30, &QPushButton::clicked, this, &TForm2a::Button30Click);
}

TForm2a::~TForm2a() = default;

QString TForm2a::slotCaption(int k) {
    return AppointmentBook::slotCaption(k);
}

QString TForm2a::slotColumn(int k) {
    return AppointmentBook::slotColumn(k);
}

int TForm2a::slotOfColumn(const QString& column) {
    return AppointmentBook::slotOfColumn(column);
}

QString TForm2a::sheetSql(const QDate& day) {
    const QString date = QLatin1Char('\'') + Values::isoFromDate(day) + QLatin1Char('\'');
    QStringList rows;
    for (int k = 1; k <= kSlots; ++k)
        rows << QStringLiteral("SELECT '%1' AS ORA, [%2] AS RANTEBOU, %3 AS SLOT FROM RANTEBOU "
                               "WHERE HMEROMHNIA=%4")
                    .arg(slotCaption(k), slotColumn(k))
                    .arg(k)
                    .arg(date);
    return rows.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY SLOT");
}

void TForm2a::focusSlot(int k) {
    if (k < 1 || k > kSlots)
        return;
    DBEdit_[k]->setFocus(Qt::OtherFocusReason);
    ui->ScrollBox1->ensureWidgetVisible(DBEdit_[k]);
}

void TForm2a::Button30Click() {
    PrintDaySheet();
}

void TForm2a::PrintDaySheet() {
    if (!ADOQuery1->isActive() || ADOQuery1->isEmpty())
        throw UserError(
            QStringLiteral("Η ημέρα δεν έχει ανοίξει, οπότε δεν υπάρχει τι να τυπωθεί."));
    // The sheet shows what is stored; a slot typed but not posted is saved first only if
    // the person says so, as the post button would.
    ADOQuery1->updateRecord();
    if (ADOQuery1->isEditing() &&
        Messages::question(this, QStringLiteral("Υπάρχουν αλλαγές που δεν έχουν καταχωρηθεί. "
                                                "Να καταχωρηθούν πριν από την εκτύπωση;\r\r"
                                                "Με \"Όχι\" τυπώνονται τα ραντεβού όπως είναι "
                                                "καταχωρημένα, και οι αλλαγές μένουν στην "
                                                "οθόνη.")))
        ADOQuery1->post();
    const QDate day = ADOQuery1->fieldByName(QStringLiteral("HMEROMHNIA"))->value().toDate();
    if (!day.isValid())
        throw UserError(QStringLiteral("Η ημερομηνία της ημέρας δεν είναι έγκυρη."));

    struct Closer {
        Query& query;
        ~Closer() {
            query.close();
            query.clearSql();
        }
    } closer{*ADOQuery2};
    ADOQuery2->close();
    ADOQuery2->clearSql();
    ADOQuery2->addSql(sheetSql(day));
    ADOQuery2->open();
    // A slot too long for one line of the sheet's usual print turns the whole sheet to its
    // compact form, so that the day still fits one page.
    QFont usual = ReportLayout::defaultFont();
    usual.setPixelSize(kSheetTextPixels);
    const QFontMetricsF measure(usual);
    int booked = 0;
    bool longText = false;
    const int text = ADOQuery2->fieldByName(QStringLiteral("RANTEBOU"))->index();
    for (int row = 0; row < ADOQuery2->rowCount(); ++row) {
        const QString slot = ADOQuery2->cellText(row, text).trimmed();
        booked += !slot.isEmpty();
        longText = longText || measure.horizontalAdvance(slot) > kSheetLinePixels;
    }

    const QString shown = Values::displayText(FieldType::Date, day);
    RvProject2a->setParam(QStringLiteral("Date"), shown);
    RvProject2a->setParam(QStringLiteral("Weekday"), WeekdayText::of(day));
    RvProject2a->setParam(QStringLiteral("Booked"), QString::number(booked));
    RvProject2a->setParam(QStringLiteral("Long"), longText ? QStringLiteral("1") : QString());
    RvProject2a->setSubject(shown);
    RvProject2a->setProjectFile(Global::AppDirectory + QStringLiteral("/HMERA.RAV"));
    RvProject2a->execute();
}

void TForm2a::Button29Click() {
    close();
}

void TForm2a::FormClose() {
    // Closing the query is what drops a slot typed but not posted.
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOConnection1->close();
}
