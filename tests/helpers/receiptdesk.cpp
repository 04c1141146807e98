// A front desk at work, for the crash and two-copies tests: receiptdesk FILE MODE COUNT SEED
// issues (MODE issue), cancels (cancel) or does either at random (mixed) COUNT times on the
// data file FILE, through the real issuing screen and the real register, headless. Every
// question is answered Yes. After each receipt it committed it says "issued NUMBER AMOUNT",
// after each cancellation "cancelled NUMBER", and flushes, so that whoever kills it knows
// what the file must hold. Any message outside that flow goes to standard error and makes
// the exit code 1.
#include "data/Global.h"
#include "receipts/Unit56.h"
#include "receipts/Unit71.h"
#include "receipts/Unit72.h"
#include "ui/DBGrid.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <optional>
#include <random>

namespace {

struct Customer {
    QString id, name, surname;
};

// The helper's own reads wait as long as the program's screens would.
class FileReader {
public:
    explicit FileReader(const QString& path)
        : m_db(QFile::encodeName(path).toStdString(), SQLite::OPEN_READONLY) {
        m_db.setBusyTimeout(30000);
    }
    std::optional<Customer> firstCustomer() {
        SQLite::Statement st(m_db, "SELECT ID, ONOMA, EPWNYMO FROM STOIXEIA_PELATH ORDER BY ID");
        if (!st.executeStep())
            return std::nullopt;
        return Customer{QString::number(st.getColumn(0).getInt64()),
                        QString::fromStdString(st.getColumn(1).getString()).trimmed(),
                        QString::fromStdString(st.getColumn(2).getString()).trimmed()};
    }
    // The newest number stored under a description; empty when none is.
    QString numberOf(const QString& description) {
        SQLite::Statement st(m_db, "SELECT AR_APODEIKSHS FROM APODEIKSEIS WHERE PERIGRAFH = ? "
                                   "ORDER BY AR_APODEIKSHS DESC");
        st.bind(1, description.toStdString());
        return st.executeStep() ? QString::fromStdString(st.getColumn(0).getString()) : QString();
    }
    int validCount() {
        SQLite::Statement st(m_db, "SELECT count(*) FROM APODEIKSEIS WHERE EGKYRH <> 0");
        st.executeStep();
        return st.getColumn(0).getInt();
    }
    bool isCancelled(const QString& number) {
        SQLite::Statement st(m_db, "SELECT count(*) FROM APODEIKSEIS WHERE EGKYRH = 0 AND "
                                   "AR_APODEIKSHS = ?");
        st.bind(1, static_cast<int64_t>(number.toLongLong()));
        st.executeStep();
        return st.getColumn(0).getInt() == 1;
    }

private:
    SQLite::Database m_db;
};

class Desk {
public:
    Desk(const QString& file, quint32 seed) : m_reader(file), m_seed(seed), m_random(seed) {}

    bool hasCustomer() {
        m_customer = m_reader.firstCustomer();
        return m_customer.has_value();
    }

    // One receipt through the issuing screen; false when it was not stored as expected.
    bool issue() {
        const int cents = std::uniform_int_distribution<int>(1, 99999)(m_random);
        const QString amount =
            QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
        const QString description = QStringLiteral("Μανικιούρ %1 %2 %3")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(m_seed)
                                        .arg(++m_issued);
        Messages::clearShown();
        TForm56 form;
        form.CustomerId = m_customer->id;
        form.CustomerName = m_customer->name;
        form.CustomerSurname = m_customer->surname;
        form.show();
        form.findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(amount);
        form.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(description);
        form.findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QStringLiteral("1"));
        form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        if (!expectMessages({}) || form.isVisible())
            return fail(QStringLiteral("the issuing screen stayed open"));
        const QString number = m_reader.numberOf(description);
        if (number.isEmpty())
            return fail(QStringLiteral("receipt \"%1\" is not in the file").arg(description));
        say(QStringLiteral("issued %1 %2").arg(number, QString(amount).replace(u',', u'.')));
        return true;
    }

    // Cancels a valid receipt picked at random in the register; false when there is none or
    // it did not go as expected.
    bool cancel() {
        Messages::clearShown();
        TForm71 form;
        form.show();
        auto* grid = form.findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        const QAbstractItemModel* model = grid->model();
        QList<int> valid;
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 9).data().toString() == u"True")
                valid << row;
        if (valid.isEmpty())
            return fail(QStringLiteral("no valid receipt to cancel"));
        const int row =
            valid[std::uniform_int_distribution<qsizetype>(0, valid.size() - 1)(m_random)];
        grid->setCurrentIndex(model->index(row, 0));
        const QString number = model->index(row, 0).data().toString();
        const QString current = form.findChild<QLabel*>(QStringLiteral("DBText1"))->text();
        if (current != number)
            return fail(QStringLiteral("row %1 made %2 current").arg(number, current));
        form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        if (!expectMessages({TForm71::cancelQuestion(number)}))
            return false;
        if (!m_reader.isCancelled(number))
            return fail(QStringLiteral("receipt %1 is still valid").arg(number));
        say(QStringLiteral("cancelled %1").arg(number));
        return true; // the register ends open, as when the program ends over it
    }

    bool hasValidReceipt() { return m_reader.validCount() > 0; }

    // Every message shown since the step began must be one of these, in this order.
    bool expectMessages(const QStringList& expected) {
        const QStringList shown = Messages::shownTexts();
        if (shown == expected)
            return true;
        for (const QString& text : shown)
            if (!expected.contains(text))
                fail(QStringLiteral("message: ") + text);
        return false;
    }

    bool fail(const QString& why) {
        std::fprintf(stderr, "%s\n", why.toUtf8().constData());
        std::fflush(stderr);
        return false;
    }

    std::mt19937& random() { return m_random; }

private:
    static void say(const QString& line) {
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    }

    FileReader m_reader;
    quint32 m_seed;
    std::mt19937 m_random;
    std::optional<Customer> m_customer;
    int m_issued = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes are not messages to a person; standard error is kept for those.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    });
    QApplication app(argc, argv);
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString mode = QString::fromLatin1(argv[2]);
    const int count = QString::fromLatin1(argv[3]).toInt();
    const quint32 seed = QString::fromLatin1(argv[4]).toUInt();
    if (mode != u"issue" && mode != u"cancel" && mode != u"mixed")
        return 2;

    Global::AppDirectory = QFileInfo(file).absolutePath();
    Global::ConnectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + file +
        QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=");
    // The printouts go to PDF files, beside the data file unless a folder is named.
    if (qEnvironmentVariableIsEmpty("MARIVELLE_REPORT_PDF_DIR")) {
        const QString pdfs = Global::AppDirectory + QStringLiteral("/printouts");
        QDir().mkpath(pdfs);
        qputenv("MARIVELLE_REPORT_PDF_DIR", QFile::encodeName(pdfs));
    }
    Messages::setTestMode(true);
    Messages::setTestHook([](Messages::Kind, const QString&) { return true; });
    Modal::setTestHook([](QDialog&) { return 0; });

    TForm72 printout;
    LongLived::add(&printout);
    Desk desk(file, seed);
    if (!desk.hasCustomer()) {
        desk.fail(QStringLiteral("the file holds no customer"));
        return 1;
    }
    bool allWell = true;
    for (int step = 0; step < count; ++step) {
        bool cancelling = mode == u"cancel";
        if (mode == u"mixed")
            cancelling = std::uniform_int_distribution<int>(0, 2)(desk.random()) == 0 &&
                         desk.hasValidReceipt();
        if (!(cancelling ? desk.cancel() : desk.issue()))
            allWell = false;
    }
    LongLived::clear();
    return allWell ? 0 : 1;
}
