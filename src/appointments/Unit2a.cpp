#include "appointments/Unit2a.h"

#include "ui_Unit2a.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "ui/DBEdit.h"
#include "ui/Guard.h"

#include <QTime>

namespace {
constexpr int kRowsPerColumn = 14;
const QColor kInactiveCaption(191, 205, 219);
const QColor kDateBlue(0, 0, 255);

QTime slotStart(int k) {
    return QTime(8, 0).addSecs(30 * 60 * (k - 1));
}
} // namespace

TForm2a::TForm2a(QWidget* parent)
    : Screen(parent), Label83(nullptr), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)),
      ui(std::make_unique<Ui::TForm2a>()) {
    ui->setupUi(this);
    Label83 = ui->Label83;
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);

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
    setTabOrder(DBEdit_[kSlots], ui->Button29);
    ui->Slots->setAutoFillBackground(false);
    ui->ScrollBox1->setMinimumSize(ui->Slots->sizeHint() + QSize(4, 4));

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::Post);

    setCancelButton(ui->Button29);
    connectGuarded(ui->Button29, &QPushButton::clicked, this, &TForm2a::Button29Click);
}

TForm2a::~TForm2a() = default;

QString TForm2a::slotCaption(int k) {
    const QString fmt = QStringLiteral("HH:mm");
    return slotStart(k).toString(fmt) + QStringLiteral(" - ") + slotStart(k + 1).toString(fmt);
}

QString TForm2a::slotColumn(int k) {
    const QString fmt = QStringLiteral("HHmm");
    return slotStart(k).toString(fmt) + u'-' + slotStart(k + 1).toString(fmt);
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
