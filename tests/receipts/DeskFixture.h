#pragma once

#include "../report/ReportFixture.h"
#include "TestSupport.h"

#include "data/Connection.h"
#include "data/ReceiptRecord.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <SQLiteCpp/SQLiteCpp.h>

// The long versions run under MARIVELLE_STRESS=1; scaled by this factor.
inline int stressFactor() {
    return qEnvironmentVariableIntValue("MARIVELLE_STRESS") == 1 ? 10 : 1;
}

// A data file ready for issuing: VAT 24 %, a header, customer 42, and `receipts` valid
// receipts 1001, 1002, ... with their collections; the counter one above them.
struct DeskFile {
    TestDatabase db;
    PdfFolder pdfs;

    explicit DeskFile(int receipts = 0) {
        copyShippedReports(db.dir());
        db.exec("INSERT INTO SYNTELESTHS_VAT VALUES(24);"
                "INSERT INTO INFORMATION(TITLE) VALUES('Κέντρο Αισθητικής Ίριδα');"
                "INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO) VALUES(42,'Ελένη','Ντ''Αμίκο');"
                "INSERT INTO LAST_APODEIKSH VALUES(1001)");
        if (receipts == 0)
            return;
        db.exec(QStringLiteral(
                    "WITH RECURSIVE n(k) AS (SELECT 1001 UNION ALL SELECT k+1 FROM n WHERE k<%1) "
                    "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,TAMEIO,"
                    "POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH) SELECT k,'Ελένη','Ντ''Αμίκο',"
                    "'Ελένη Ντ''Αμίκο',20,'1',11.71,'Βαφή',4.8,24.8,1 FROM n;"
                    "INSERT INTO EISPRAKSH_PELATH(ID,POSO,PERIGRAFH,TAMEIO,POSO_CY,AR_APODEIKSHS,"
                    "VAT,SYNOLIKO_POSO) SELECT 42,POSO,PERIGRAFH,TAMEIO,POSO_CY,AR_APODEIKSHS,VAT,"
                    "SYNOLIKO_POSO FROM APODEIKSEIS;"
                    "UPDATE LAST_APODEIKSH SET [LAST]=%2")
                    .arg(1000 + receipts)
                    .arg(1001 + receipts));
        // As the program's first start does: the record begins with the file's receipts.
        recordFaults(receipts);
    }

    // The record compared with the file as the next start does it: nothing in the record
    // that the file lacks, no line unreadable, at most `mayLack` receipts or cancellations of
    // the file missing from it (committed in the moment of a kill); afterwards the two agree.
    QStringList recordFaults(int mayLack = 0) const {
        Connection c;
        c.setUp(db.connectionString());
        const ReceiptRecord::Outcome o = ReceiptRecord::reconcile(c);
        QStringList faults;
        if (!o.restored.isEmpty() || !o.cancelled.isEmpty() || o.counterRaisedTo)
            faults << QStringLiteral("only in the record: ") + o.message(db.path());
        if (!o.unreadable.isEmpty() || !o.tornDropped.isEmpty() || !o.recordError.isEmpty())
            faults << QStringLiteral("record unreadable: ") + o.message(db.path());
        if (o.completed > mayLack)
            faults << QStringLiteral("%1 receipts or cancellations not in the record")
                          .arg(o.completed);
        const ReceiptRecord::Outcome again = ReceiptRecord::compare(c);
        if (again.completed || !again.restored.isEmpty() || !again.cancelled.isEmpty())
            faults << QStringLiteral("the record and the file still disagree");
        return faults;
    }

    int counter() const { return db.scalar("SELECT [LAST] FROM LAST_APODEIKSH").toInt(); }
    int receipts() const { return db.scalar("SELECT count(*) FROM APODEIKSEIS").toInt(); }
};

// What the desk said it committed: each number with its amount ("12.05"), and the numbers
// it cancelled.
struct Told {
    QMap<qint64, QString> issued;
    QList<qint64> cancelled;
    QStringList unreadable;

    // Reads the desk's complete lines; a line cut off by a kill was not said.
    void read(const QByteArray& output) {
        const QList<QByteArray> lines = output.split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QStringList words = QString::fromUtf8(lines[i]).split(u' ');
            if (words.size() == 3 && words[0] == u"issued")
                issued.insert(words[1].toLongLong(), words[2]);
            else if (words.size() == 2 && words[0] == u"cancelled")
                cancelled << words[1].toLongLong();
            else
                unreadable << QString::fromUtf8(lines[i]);
        }
    }

    // What the file does not hold as it was said: a receipt missing or with another amount,
    // a cancelled one still valid.
    QStringList missing(const QString& path) const {
        QStringList faults = unreadable;
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        QMap<qint64, QString> stored;
        SQLite::Statement st(db, "SELECT AR_APODEIKSHS, printf('%.2f', POSO), EGKYRH "
                                 "FROM APODEIKSEIS");
        QList<qint64> notValid;
        while (st.executeStep()) {
            stored.insert(st.getColumn(0).getInt64(),
                          QString::fromStdString(st.getColumn(1).getString()));
            if (st.getColumn(2).getInt() == 0)
                notValid << st.getColumn(0).getInt64();
        }
        for (auto it = issued.begin(); it != issued.end(); ++it)
            if (stored.value(it.key()) != it.value())
                faults << QStringLiteral("receipt %1 of %2 EUR stored as \"%3\"")
                              .arg(it.key())
                              .arg(it.value(), stored.value(it.key()));
        for (qint64 number : cancelled)
            if (!notValid.contains(number))
                faults << QStringLiteral("cancelled receipt %1 is valid").arg(number);
        return faults;
    }
};

// One receiptdesk process on a file, printing into a folder of its own.
class DeskProcess {
public:
    DeskProcess(const DeskFile& file, const QString& mode, int count, quint32 seed) {
        const QString pdfs = QDir(file.pdfs.path()).filePath(QString::number(seed));
        QDir().mkpath(pdfs);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MARIVELLE_REPORT_PDF_DIR"), pdfs);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MARIVELLE_HELPER_DIR "/receiptdesk"),
                      {file.db.path(), mode, QString::number(count), QString::number(seed)});
    }
    // Waits for the desk to end on its own; false when it could not be started.
    bool finish() { return process.waitForStarted() && process.waitForFinished(-1); }
    QString errors() { return QString::fromUtf8(process.readAllStandardError()); }

    QProcess process;
};
