#include "customers/Unit18.h"

#include "ui_Unit18.h"

#include "customers/CustomerData.h"
#include "customers/UNIT17A.h"
#include "customers/Unit19.h"
#include "customers/Unit20.h"
#include "customers/Unit22.h"
#include "data/Connection.h"
#include "data/CustomerNumber.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "ui/Commands.h"
#include "ui/Guard.h"
#include "ui/LongLived.h"
#include "ui/ScreenLinks.h"
#include "ui/Seams.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>

#include <QVariant>

#include <stdexcept>

namespace {
QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void addSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

// The current customer as the catalogue shows her, for the screens opened on her.
ScreenLinks::Customer shownCustomer(const Ui::TForm18& ui) {
    return {ui.DBText1->text().trimmed(), ui.DBText2->text().trimmed(),
            ui.DBText3->text().trimmed()};
}

template <class T> void handOver(T& screen, const Ui::TForm18& ui) {
    const ScreenLinks::Customer c = shownCustomer(ui);
    screen.CustomerId = c.id;
    screen.CustomerName = c.name;
    screen.CustomerSurname = c.surname;
}
} // namespace

TForm18::TForm18(QWidget* parent)
    : Screen(parent), ui(std::make_unique<Ui::TForm18>()), ADOConnection1(new Connection(this)),
      ADOQuery1(new Query(this)), DataSource1(new DataSource(this)) {
    ui->setupUi(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    makeValueLabel(ui->Label1);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    N1 = MainMenu1->addMenu(QStringLiteral("Επιλογές"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = addItem(N1, "N2", QStringLiteral("Στοιχεί&α πελάτη"));
    N3 = addItem(N1, "N3", QStringLiteral("Ιστορικό πελάτη"));
    N4 = addItem(N1, "N4", QStringLiteral("Επισκέ&ψεις πελάτη"));
    addSeparator(N1, "N8");
    N6 = addItem(N1, "N6", QStringLiteral("Εισπράξεις από πελάτη"));
    KLLLL1 = addItem(N1, "KLLLL1", QStringLiteral("Έκδοση απόδειξ&ης"));
    addSeparator(N1, "N9");
    N5 = addItem(N1, "N5", QStringLiteral("Ε&κτυπώσεις"));
    N10 = addItem(N1, "N10", QStringLiteral("Έ&ξοδος"));
    addSeparator(N1, "N14");
    N11 = addItem(N1, "N11", QStringLiteral("Ραντεβού πελάτη"));
    N12 = addItem(N1, "N12", QStringLiteral("Εξαγωγή στοιχείων πελάτη"));
    N13 = addItem(N1, "N13", QStringLiteral("Ανωνυμοποίηση πελάτη"));
    layout()->setMenuBar(MainMenu1);

    ADOQuery1->setConnection(ADOConnection1);
    DataSource1->setDataSet(ADOQuery1);

    ui->DBGrid1->setDataSource(DataSource1);
    ui->DBGrid1->setColumns({
        {QStringLiteral("ONOMA"), QStringLiteral("Όνομα"), Qt::AlignLeft, 100},
        {QStringLiteral("EPWNYMO"), QStringLiteral("Επώνυμο"), Qt::AlignLeft, 130},
        {QStringLiteral("FYLO"), QStringLiteral("Φύλο"), Qt::AlignCenter, 60},
        {QStringLiteral("HMEROMHNIA_GENNHSEWS"), QStringLiteral("Ημερ.Γενν."), Qt::AlignCenter, 80},
        {QStringLiteral("DIEYTHYNSH"), QStringLiteral("Διεύθυνση"), Qt::AlignLeft, 170},
        {QStringLiteral("THLEFWNO_1"), QStringLiteral("Τηλέφωνο 1"), Qt::AlignLeft, 90},
        {QStringLiteral("THLEFWNO_2"), QStringLiteral("Τηλέφωνο 2"), Qt::AlignLeft, 90},
        {QStringLiteral("EPAGGELMA"), QStringLiteral("Επάγγελμα"), Qt::AlignLeft, 110},
        {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), Qt::AlignCenter, 90},
    });
    ui->DBGrid1->setTitlesBoldCentred(true);
    ui->DBGrid1->horizontalHeader()->setStretchLastSection(true);

    // The current row's values as shown, for handing to the customer's screens.
    const std::pair<DBText*, const char*> hidden[] = {{ui->DBText1, "ID"},
                                                      {ui->DBText2, "ONOMA"},
                                                      {ui->DBText3, "EPWNYMO"},
                                                      {ui->DBText5, "HMEROMHNIA_GENNHSEWS"}};
    for (const auto& [text, column] : hidden) {
        text->setDataSource(DataSource1);
        text->setDataField(QString::fromLatin1(column));
    }

    ui->DBNavigator1->setDataSource(DataSource1);
    ui->DBNavigator1->setVisibleButtons(DBNavigator::First | DBNavigator::Prior |
                                        DBNavigator::Next | DBNavigator::Last |
                                        DBNavigator::Delete);
    connectGuarded(ui->DBNavigator1, &DBNavigator::clicked, this, &TForm18::DBNavigator1Click);
    // The grid's own Delete key removes a row too; the count follows it as well.
    connectGuarded(ADOQuery1, &DataSet::afterDelete, this, &TForm18::ShowCustomerCount);

    const std::pair<QRadioButton*, Handler> sorts[] = {
        {ui->RadioButton2, &TForm18::RadioButton2Click},
        {ui->RadioButton3, &TForm18::RadioButton3Click},
        {ui->RadioButton10, &TForm18::RadioButton10Click},
        {ui->RadioButton5, &TForm18::RadioButton5Click},
        {ui->RadioButton6, &TForm18::RadioButton6Click},
        {ui->RadioButton8, &TForm18::RadioButton8Click},
        {ui->RadioButton9, &TForm18::RadioButton9Click}};
    for (const auto& [radio, handler] : sorts)
        connectGuarded(radio, &QRadioButton::toggled, this, [this, handler = handler](bool on) {
            if (on)
                (this->*handler)();
        });

    bindCommand(this, N2, nullptr, &TForm18::N2Click);
    bindCommand(this, nullptr, ui->Button2, &TForm18::Button2Click);
    bindCommand(this, N3, nullptr, &TForm18::N3Click);
    bindCommand(this, nullptr, ui->Button3, &TForm18::Button3Click);
    bindCommand(this, N4, nullptr, &TForm18::N4Click);
    bindCommand(this, nullptr, ui->Button1, &TForm18::Button1Click);
    bindCommand(this, N6, nullptr, &TForm18::N6Click);
    bindCommand(this, nullptr, ui->Button7, &TForm18::Button7Click);
    bindCommand(this, KLLLL1, ui->Button6, &TForm18::Button6Click);
    // Disabled until receipt numbering is defined; FormShow enables them.
    KLLLL1->setEnabled(false);
    ui->Button6->setEnabled(false);
    bindCommand(this, N5, nullptr, &TForm18::N5Click);
    bindCommand(this, nullptr, ui->Button5, &TForm18::Button5Click);
    bindCommand(this, N10, nullptr, &TForm18::N10Click);
    bindCommand(this, N11, nullptr, &TForm18::N11Click);
    bindCommand(this, N12, nullptr, &TForm18::N12Click);
    bindCommand(this, N13, nullptr, &TForm18::N13Click);

    setCancelButton(ui->Button4);
    connectGuarded(ui->Button4, &QPushButton::clicked, this, &TForm18::Button4Click);
}

TForm18::~TForm18() = default;

QString TForm18::countText(int count) {
    return QStringLiteral("Βρέθηκαν ") + QString::number(count) + QStringLiteral(" πελάτες");
}

void TForm18::FormShow() {
    ADOConnection1->setUp(Global::ConnectionString);
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(CatalogueSql);
    ADOQuery1->open();
    ShowCustomerCount();
    ui->RadioButton2->setChecked(true);
    ui->RadioButton8->setChecked(true);
    SortField = QStringLiteral("EPWNYMO");
    SortDirection = QStringLiteral(" ASC");
    ApplySort();
    ADOQuery1->first(); // a new list starts at its top, whoever was chosen in the last one
    if (Global::NumberingLocked) {
        ui->Button6->setEnabled(true);
        KLLLL1->setEnabled(true);
    }
    ui->DBGrid1->setFocus();
}

void TForm18::FormClose() {
    ADOConnection1->close();
}

void TForm18::ApplySort() {
    KeepCurrentCustomer([this] { ADOQuery1->setSort(SortField + SortDirection); });
}

QVariant TForm18::CurrentCustomerId() const {
    const Field* id = ADOQuery1->isActive() ? ADOQuery1->findField(QStringLiteral("ID")) : nullptr;
    if (!id || ADOQuery1->currentRow() < 0)
        return {};
    return id->value();
}

void TForm18::KeepCurrentCustomer(const std::function<void()>& reorder) {
    // Reloading or re-sorting makes the first row current; the next command would then open
    // (or issue a receipt to) another customer than the one chosen. She stays current, and in
    // view, as long as she is still listed.
    const QVariant id = CurrentCustomerId();
    reorder();
    const Field* idField =
        ADOQuery1->isActive() ? ADOQuery1->findField(QStringLiteral("ID")) : nullptr;
    if (id.isNull() || !idField)
        return;
    const int idColumn = idField->index();
    for (int row = 0; row < ADOQuery1->rowCount(); ++row) {
        if (ADOQuery1->cell(row, idColumn) == id) {
            ADOQuery1->moveTo(row);
            return;
        }
    }
    ADOQuery1->first();
}

void TForm18::ShowCustomerCount() {
    const int count = ADOQuery1->recordCount();
    ui->Label1->setText(countText(count));
    const bool any = count != 0;
    ui->GroupBox1->setVisible(any);
    ui->GroupBox2->setVisible(any);
    ui->GroupBox3->setVisible(any);
    N1->menuAction()->setVisible(any);
    ui->DBNavigator1->setVisible(any);
}

void TForm18::DBNavigator1Click() {
    ShowCustomerCount();
}

void TForm18::RadioButton2Click() {
    SortField = QStringLiteral("EPWNYMO");
    ApplySort();
}

void TForm18::RadioButton3Click() {
    SortField = QStringLiteral("HMEROMHNIA_GENNHSEWS");
    ApplySort();
}

void TForm18::RadioButton10Click() {
    SortField = QStringLiteral("FYLO");
    ApplySort();
}

void TForm18::RadioButton5Click() {
    SortField = QStringLiteral("EPAGGELMA");
    ApplySort();
}

void TForm18::RadioButton6Click() {
    SortField = QStringLiteral("TAMEIO");
    ApplySort();
}

void TForm18::RadioButton8Click() {
    SortDirection = QStringLiteral(" ASC");
    ApplySort();
}

void TForm18::RadioButton9Click() {
    SortDirection = QStringLiteral(" DESC");
    ApplySort();
}

void TForm18::OpenCustomerRecord() {
    TForm19 record(this);
    record.CustomerId = ui->DBText1->text().trimmed();
    Modal::exec(record);
    ReloadList();
}

void TForm18::ReloadList() {
    // The corrections show at once; the list stands again in the statement's own order.
    KeepCurrentCustomer([this] {
        ADOQuery1->close();
        ADOConnection1->close();
        ADOConnection1->open();
        ADOQuery1->open();
    });
    // The same customers as a rule; but one deleted meanwhile is counted out.
    ShowCustomerCount();
}

void TForm18::OpenCustomerHistory() {
    TForm20 history(this);
    handOver(history, *ui);
    history.CustomerBirthDate = ui->DBText5->text().trimmed();
    Modal::exec(history);
}

void TForm18::OpenCustomerVisits() {
    TFORM17A visits(this);
    handOver(visits, *ui);
    Modal::exec(visits);
}

void TForm18::Button3Click() {
    OpenCustomerHistory();
}

void TForm18::N3Click() {
    OpenCustomerHistory();
}

void TForm18::Button1Click() {
    OpenCustomerVisits();
}

void TForm18::N4Click() {
    OpenCustomerVisits();
}

void TForm18::Button2Click() {
    OpenCustomerRecord();
}

void TForm18::N2Click() {
    OpenCustomerRecord();
}

void TForm18::Button6Click() {
    ScreenLinks::open(ScreenLinks::ForCustomer::IssueReceipt, this, shownCustomer(*ui));
}

void TForm18::OpenCustomerCollections() {
    ScreenLinks::open(ScreenLinks::ForCustomer::Collections, this, shownCustomer(*ui));
}

void TForm18::Button7Click() {
    OpenCustomerCollections();
}

void TForm18::N6Click() {
    OpenCustomerCollections();
}

void TForm18::Button4Click() {
    close();
}

void TForm18::N10Click() {
    close();
}

void TForm18::OpenPrintouts() {
    TForm22* printouts = LongLived::find<TForm22>();
    if (!printouts)
        throw UserError(QStringLiteral("Οι εκτυπώσεις των πελατών δεν είναι διαθέσιμες."));
    printouts->CustomerId = ui->DBText1->text().trimmed();
    printouts->CatalogueFilter = CatalogueFilter;
    printouts->CatalogueSql = CatalogueSql;
    Modal::exec(*printouts);
}

void TForm18::Button5Click() {
    OpenPrintouts();
}

void TForm18::N5Click() {
    OpenPrintouts();
}

void TForm18::N11Click() {
    ScreenLinks::open(ScreenLinks::ForCustomer::AppointmentSearch, this, shownCustomer(*ui));
}

void TForm18::N12Click() {
    ExportCustomerData();
}

void TForm18::N13Click() {
    AnonymiseCustomer();
}

void TForm18::ExportCustomerData() {
    const qlonglong id = customerNumber(ui->DBText1->text().trimmed());
    // The folder she is handed, or that goes onto her stick: the new folder is made in it.
    QFileDialog dialog(this, QStringLiteral("Φάκελος για τα στοιχεία του πελάτη"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QDir::homePath());
    dialog.resize(800, 480);
    if (Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const CustomerData::Exported done =
        CustomerData::exportTo(dialog.selectedFiles().constFirst(), id);
    Messages::information(
        this, QStringLiteral("Τα στοιχεία του πελάτη γράφτηκαν στον φάκελο:\r%1"
                             "\r\r%2 για ανάγνωση, %3 για άλλο πρόγραμμα "
                             "και %4 με την περιγραφή του.")
                  .arg(QDir::toNativeSeparators(done.folder), QFileInfo(done.pdf).fileName(),
                       QFileInfo(done.json).fileName(), QFileInfo(done.readme).fileName()));
}

void TForm18::AnonymiseCustomer() {
    const qlonglong id = customerNumber(ui->DBText1->text().trimmed());
    // What is erased cannot be brought back: Enter answers No.
    if (!Messages::question(this,
                            CustomerData::anonymiseQuestion(ui->DBText2->text().trimmed(),
                                                            ui->DBText3->text().trimmed()),
                            Messages::Default::No))
        return;
    CustomerData::anonymise(id);
    // She stays current, under her new name, while the search still lists her.
    ReloadList();
}
