#include "receipts/Unit59.h"

#include "ui_Unit59.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/Guard.h"
#include "ui/SaveFile.h"
#include "ui/Seams.h"
#include "ui/Spreadsheet.h"

#include <exception>

namespace {
// "#3/28/2007#" as the program shows dates: 28/3/2007.
QString shownDate(const QString& literal) {
    const QStringList parts = QString(literal).remove(u'#').split(u'/');
    return parts.size() == 3 ? parts[1] + u'/' + parts[0] + u'/' + parts[2] : literal;
}
} // namespace

TForm59::TForm59(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm59>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);

    const std::pair<DBText*, const char*> sums[] = {
        {ui->DBText1, "POSO"}, {ui->DBText3, "VAT"}, {ui->DBText2, "POSOPVAT"}};
    for (const auto& [text, column] : sums) {
        makeValueLabel(text);
        text->setDataSource(DataSource1);
        text->setDataField(QString::fromLatin1(column));
    }
    for (QLabel* mark : {ui->Label3, ui->Label4})
        makeRequiredMark(mark);

    ui->Button1->setDefault(true);
    ui->Button3->setEnabled(false); // until a search has found its sums
    setCancelButton(ui->Button2);
    connectGuarded(ui->Edit1, &QLineEdit::textChanged, this, &TForm59::Edit1Change);
    connectGuarded(ui->Edit2, &QLineEdit::textChanged, this, &TForm59::Edit2Change);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm59::Button1Click);
    connectGuarded(ui->Button2, &QPushButton::clicked, this, &TForm59::Button2Click);
    connectGuarded(ui->Button3, &QPushButton::clicked, this, &TForm59::Button3Click);
}

TForm59::~TForm59() = default;

QString TForm59::sumsSql(const QString& from, const QString& to) {
    return QStringLiteral("SELECT Format(sum(POSO),'0.00') AS POSO, "
                          "Format((sum(POSO)-SUM(VAT)),'0.00') AS POSOPVAT, "
                          "Format(sum(VAT),'0.00') AS VAT FROM APODEIKSEIS WHERE HMEROMHNIA "
                          "BETWEEN ") +
           from + QStringLiteral(" AND ") + to + QStringLiteral(" AND EGKYRH=TRUE");
}

void TForm59::CheckDateInputs() {
    ui->Button1->setEnabled(Global::IsCleanText(ui->Edit1->text().trimmed()) &&
                            Global::IsCleanText(ui->Edit2->text().trimmed()));
}

void TForm59::Button1Click() {
    const bool found = Search();
    ui->Button3->setEnabled(found);
    if (found)
        return;
    // Figures of an earlier search would read as the answer to this one.
    ADOQuery1->close();
    Messages::information(this, wrongCriteriaText());
}

bool TForm59::Search() {
    try {
        ADOConnection1->setUp(Global::ConnectionString);
        QString from = ui->Edit1->text().trimmed();
        QString to = ui->Edit2->text().trimmed();
        Global::ToJetDate(from);
        Global::ToJetDate(to);
        if (from == QLatin1String("ERROR") || to == QLatin1String("ERROR"))
            return false;
        ADOQuery1->close();
        ADOQuery1->clearSql();
        ADOQuery1->addSql(sumsSql(from, to));
        ADOQuery1->open();
        m_from = shownDate(from);
        m_to = shownDate(to);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TForm59::Button2Click() {
    close();
}

void TForm59::Button3Click() {
    const QString name =
        SaveFile::nameFrom(QStringLiteral("Εισπράξεις ") + m_from + QStringLiteral(" έως ") + m_to);
    const QString path = SaveFile::ask(this, QStringLiteral("Εξαγωγή σε Excel"),
                                       QStringLiteral("Excel (*.xlsx)"), QStringLiteral("xlsx"),
                                       SaveFile::dataFolder(), name + QStringLiteral(".xlsx"));
    if (path.isEmpty())
        return;
    using Spreadsheet::Kind;
    // The period and its three sums, in the screen's order and words.
    const auto sum = [this](const char* field) {
        const Field* f =
            ADOQuery1->isActive() ? ADOQuery1->findField(QString::fromLatin1(field)) : nullptr;
        return f ? f->displayText() : QString();
    };
    Spreadsheet::Sheet sheet;
    // Short enough for a sheet's 31 characters with any two dates.
    sheet.name = QStringLiteral("Έσοδα ") + m_from + QStringLiteral(" έως ") + m_to;
    sheet.titles = {QStringLiteral("Από"), QStringLiteral("Μέχρι"), QStringLiteral("Έσοδα (EUR)"),
                    QStringLiteral("Φ.Π.Α (EUR)"), QStringLiteral("Έσοδα - Φ.Π.Α (EUR)")};
    sheet.kinds = {Kind::Date, Kind::Date, Kind::Amount, Kind::Amount, Kind::Amount};
    sheet.rows = {{m_from, m_to, sum("POSO"), sum("VAT"), sum("POSOPVAT")}};
    Spreadsheet::write(path, sheet);
}

void TForm59::FormClose() {
    ADOConnection1->close();
}
