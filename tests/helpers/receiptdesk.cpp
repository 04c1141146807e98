// A front desk at work, for the crash and two-copies tests: receiptdesk FILE MODE COUNT SEED
// issues (MODE issue), cancels (cancel) or does either at random (mixed) COUNT times on the
// data file FILE, through the real issuing screen and the real register, headless. Every
// question is answered Yes. After each receipt it committed it says "issued NUMBER AMOUNT",
// after each cancellation "cancelled NUMBER", and flushes, so that whoever kills it knows
// what the file must hold. Any message outside that flow goes to standard error and makes
// the exit code 1; the one message of the flow is the issuing screen's word that the other
// copy gave its shown number meanwhile.
#include "data/Global.h"
#include "receipts/Unit56.h"
#include "receipts/Unit71.h"
#include "receipts/Unit72.h"
#include "ui/DBGrid.h"
#include "ui/LongLived.h"
#include "ui/Seams.h"
#include "ui/WaitNotice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <random>

namespace {

void print(FILE* to, const QString& line) {
    std::fprintf(to, "%s\n", line.toUtf8().constData());
    std::fflush(to);
}

bool fail(const QString& why) {
    print(stderr, why);
    return false;
}

class Desk {
public:
    Desk(const QString& file, quint32 seed)
        : random(seed), m_db(QFile::encodeName(file).toStdString(), SQLite::OPEN_READONLY),
          m_seed(seed) {
        m_db.setBusyTimeout(30000); // as long as the program's screens would wait
    }

    // The first column of the first row, empty when there is none.
    QString read(const char* sql, const QString& bound = {}) {
        SQLite::Statement st(m_db, sql);
        if (st.getBindParameterCount() > 0)
            st.bind(1, bound.toStdString());
        return st.executeStep() ? QString::fromStdString(st.getColumn(0).getString()) : QString();
    }

    bool hasCustomer() {
        SQLite::Statement st(m_db, "SELECT ID, ONOMA, EPWNYMO FROM STOIXEIA_PELATH ORDER BY ID");
        if (!st.executeStep())
            return false;
        for (int i = 0; i < 3; ++i)
            m_customer[i] = QString::fromStdString(st.getColumn(i).getString()).trimmed();
        return true;
    }

    // One receipt through the issuing screen; false when it was not stored as expected.
    bool issue() {
        const int cents = std::uniform_int_distribution<int>(1, 99999)(random);
        const QString amount =
            QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
        const QString description = QStringLiteral("Μανικιούρ %1 %2 %3")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(m_seed)
                                        .arg(++m_issued);
        Messages::clearShown();
        TForm56 form;
        form.CustomerId = m_customer[0];
        form.CustomerName = m_customer[1];
        form.CustomerSurname = m_customer[2];
        form.show();
        for (const auto& [edit, text] :
             {std::pair{"Edit3", amount}, {"Edit2", description}, {"Edit4", QStringLiteral("1")}})
            form.findChild<QLineEdit*>(QLatin1String(edit))->setText(text);
        const QString shown = form.findChild<QLabel*>(QStringLiteral("DBText2"))->text();
        form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        const QString number = read("SELECT AR_APODEIKSHS FROM APODEIKSEIS WHERE PERIGRAFH = ? "
                                    "ORDER BY AR_APODEIKSHS DESC",
                                    description);
        if (number.isEmpty()) {
            expectMessages({}); // says what the desk was told instead
            return fail(QStringLiteral("receipt \"%1\" is not in the file").arg(description));
        }
        const QStringList told = number == shown
                                     ? QStringList()
                                     : QStringList{TForm56::numberChangedText(number, shown)};
        if (!expectMessages(told) || form.isVisible())
            return fail(QStringLiteral("the issuing screen stayed open"));
        print(stdout,
              QStringLiteral("issued %1 %2").arg(number, QString(amount).replace(u',', u'.')));
        return true;
    }

    // Cancels a valid receipt picked at random in the register; false when there is none or
    // it did not go as expected. The register ends open, as when the program ends over it.
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
            valid[std::uniform_int_distribution<qsizetype>(0, valid.size() - 1)(random)];
        grid->setCurrentIndex(model->index(row, 0));
        const QString number = model->index(row, 0).data().toString();
        const QString current = form.findChild<QLabel*>(QStringLiteral("DBText1"))->text();
        if (current != number)
            return fail(QStringLiteral("row %1 made %2 current").arg(number, current));
        form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        if (!expectMessages({TForm71::cancelQuestion(number)}))
            return false;
        if (read("SELECT count(*) FROM APODEIKSEIS WHERE EGKYRH = 0 AND AR_APODEIKSHS = ?",
                 number) != u"1")
            return fail(QStringLiteral("receipt %1 is still valid").arg(number));
        print(stdout, QStringLiteral("cancelled %1").arg(number));
        return true;
    }

    // Every message shown since the step began must be one of these, in this order.
    bool expectMessages(const QStringList& expected) {
        const QStringList shown = Messages::shownTexts();
        for (const QString& text : shown)
            if (shown != expected && !expected.contains(text))
                fail(QStringLiteral("message: ") + text);
        return shown == expected;
    }

    std::mt19937 random;

private:
    SQLite::Database m_db;
    quint32 m_seed;
    QString m_customer[3]; // id, name, surname
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
            print(stderr, text);
    });
    QApplication app(argc, argv);
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString mode = QString::fromLatin1(argv[2]);
    const int count = QString::fromLatin1(argv[3]).toInt();
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
    WaitNotice::install(); // as the program does at its start
    Messages::setTestMode(true);
    Messages::setTestHook([](Messages::Kind, const QString&) { return true; });
    Modal::setTestHook([](QDialog&) { return 0; });

    TForm72 printout;
    LongLived::add(&printout);
    Desk desk(file, QString::fromLatin1(argv[4]).toUInt());
    if (!desk.hasCustomer()) {
        fail(QStringLiteral("the file holds no customer"));
        return 1;
    }
    bool allWell = true;
    for (int step = 0; step < count; ++step) {
        const bool cancelling =
            mode == u"cancel" ||
            (mode == u"mixed" && std::uniform_int_distribution<int>(0, 2)(desk.random) == 0 &&
             desk.read("SELECT count(*) FROM APODEIKSEIS WHERE EGKYRH <> 0") != u"0");
        allWell = (cancelling ? desk.cancel() : desk.issue()) && allWell;
    }
    LongLived::clear();
    return allWell ? 0 : 1;
}
