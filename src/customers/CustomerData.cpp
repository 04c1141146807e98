#include "customers/CustomerData.h"

#include "data/AppointmentBook.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/GreekText.h"
#include "data/UserError.h"
#include "data/Values.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplate.h"
#include "ui/SaveFile.h"
#include "ui/Seams.h"
#include "ui/Vendor.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace CustomerData {

namespace {

const QString kReport = QStringLiteral("DEDOMENA.RAV");
const QString kPdfName = QStringLiteral("Στοιχεία.pdf");
const QString kJsonName = QStringLiteral("Στοιχεία.json");
const QString kReadmeName = QStringLiteral("README.txt");

// A statement's rows, read whole.
struct Rows {
    Query query;
    Rows(Connection& connection, const QString& sql) {
        query.setConnection(&connection);
        query.addSql(sql);
        query.open();
    }
};

QJsonValue jsonValue(FieldType type, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QJsonValue::Null;
    switch (type) {
    case FieldType::Date:
        return v.typeId() == QMetaType::QDate ? Values::isoFromDate(v.toDate()) : v.toString();
    case FieldType::Boolean:
        return v.toBool();
    default:
        break;
    }
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
        return QJsonValue(v.toLongLong());
    if (v.typeId() == QMetaType::Double)
        return v.toDouble();
    return v.toString();
}

QJsonObject jsonRow(const DataSet& ds, int row) {
    QJsonObject object;
    for (const Field* f : ds.fields())
        object.insert(f->fieldName(), jsonValue(f->type(), ds.cell(row, f->index())));
    return object;
}

QJsonArray jsonRows(const DataSet& ds) {
    QJsonArray rows;
    for (int row = 0; row < ds.rowCount(); ++row)
        rows.append(jsonRow(ds, row));
    return rows;
}

// The rows as the printout shows them: dates d/M/yyyy, amounts with two decimals.
ReportTable reportTable(const QString& name, const DataSet& ds) {
    ReportTable table;
    table.name = name;
    for (const Field* f : ds.fields())
        table.columns << f->fieldName();
    for (int row = 0; row < ds.rowCount(); ++row) {
        QStringList cells;
        for (const Field* f : ds.fields()) {
            const QVariant v = ds.cell(row, f->index());
            const bool amount = f->type() == FieldType::Double && !v.isNull() && v.isValid();
            cells << (amount ? Values::fixedText(v.toDouble(), 2) : ds.cellText(row, f->index()));
        }
        table.rows << cells;
    }
    return table;
}

// The appointment slots that name her surname as a word, newest first.
struct Appointments {
    QJsonArray json;
    ReportTable table;
};

Appointments appointmentsOf(Connection& connection, const QString& surname) {
    Appointments found;
    found.table.name = QStringLiteral("RvDataSetConnectionRANTEBOU");
    found.table.columns = QStringList{QStringLiteral("MERA"), QStringLiteral("HMERA"),
                                      QStringLiteral("ORA"), QStringLiteral("KEIMENO")};
    if (surname.trimmed().isEmpty())
        return found;
    Rows mentioning(connection, AppointmentBook::searchSql(surname.trimmed()));
    const DataSet& ds = mentioning.query;
    const int day = ds.fieldByName(QStringLiteral("MERA"))->index();
    const int weekday = ds.fieldByName(QStringLiteral("HMERA"))->index();
    const int time = ds.fieldByName(QStringLiteral("ORA"))->index();
    const int text = ds.fieldByName(QStringLiteral("KEIMENO"))->index();
    for (int row = 0; row < ds.rowCount(); ++row) {
        const QString slotText = ds.cellText(row, text);
        if (!mentions(slotText, surname.trimmed()))
            continue;
        found.json.append(
            QJsonObject{{QStringLiteral("date"), jsonValue(FieldType::Date, ds.cell(row, day))},
                        {QStringLiteral("time"), ds.cellText(row, time)},
                        {QStringLiteral("text"), slotText}});
        found.table.rows << QStringList{ds.cellText(row, day), ds.cellText(row, weekday),
                                        ds.cellText(row, time), slotText};
    }
    return found;
}

QString readmeText(const QString& today) {
    return QStringLiteral(
               "Στοιχεία πελάτη\n"
               "===============\n\n"
               "Ο φάκελος περιέχει όσα τηρεί για τον πελάτη το πρόγραμμα του καταστήματος "
               "(Marivelle), όπως ήταν στις %1:\n\n"
               "  %2   τα στοιχεία για ανάγνωση και εκτύπωση\n"
               "  %3  τα ίδια στοιχεία για ανάγνωση από άλλο πρόγραμμα (JSON, UTF-8)\n"
               "  %4     αυτή η περιγραφή\n\n"
               "Το αρχείο JSON είναι ένα αντικείμενο με τα εξής μέρη. Οι ημερομηνίες είναι "
               "γραμμένες ΕΕΕΕ-ΜΜ-ΗΗ, τα ποσά σε ευρώ με τελεία για τα δεκαδικά, και ένα "
               "κενό πεδίο είναι null.\n\n"
               "exported      η ημερομηνία της εξαγωγής\n"
               "program       το πρόγραμμα και η έκδοσή του\n"
               "salon         τα στοιχεία του καταστήματος, όπως τυπώνονται στις αποδείξεις "
               "(TITLE επωνυμία, ADDRESS1 και ADDRESS2 διεύθυνση, PHONE, FAX, WEBSITE, EMAIL, "
               "AFT ΑΦΜ, AFPA αριθμός Φ.Π.Α., EXTRA1-EXTRA7 ελεύθερες γραμμές)\n"
               "customer      η καρτέλα του πελάτη: ID ο αριθμός πελάτη, ONOMA όνομα, EPWNYMO "
               "επώνυμο, FYLO φύλο, HMEROMHNIA_GENNHSEWS ημερομηνία γέννησης, DIEYTHYNSH "
               "διεύθυνση, THLEFWNO_1 και THLEFWNO_2 τηλέφωνα, EPAGGELMA επάγγελμα, TAMEIO "
               "ταμείο, ISTORIKO το ιστορικό όπως γράφτηκε\n"
               "visits        οι επισκέψεις, από την παλαιότερη: ID ο αριθμός πελάτη, "
               "HMEROMHNIA ημερομηνία, AITIA αιτία, PERIGRAFH περιγραφή\n"
               "receipts      οι αποδείξεις που εκδόθηκαν στον πελάτη: AR_APODEIKSHS αριθμός, "
               "HMEROMHNIA ημερομηνία έκδοσης, ONOMA και EPWNYMO όπως γράφτηκαν στην απόδειξη, "
               "PARALHPTHS ο παραλήπτης όπως τυπώθηκε, POSO ποσό χωρίς Φ.Π.Α., TAMEIO ταμείο, "
               "POSO_CY το ποσό σε λίρες Κύπρου, PERIGRAFH περιγραφή, VAT Φ.Π.Α., "
               "SYNOLIKO_POSO ποσό με Φ.Π.Α., EGKYRH true για έγκυρη και false για ακυρωμένη\n"
               "collections   οι εισπράξεις από τον πελάτη, μία για κάθε έγκυρη απόδειξη: ID ο "
               "αριθμός πελάτη, HMEROMHNIA, POSO, PERIGRAFH, TAMEIO, POSO_CY, AR_APODEIKSHS ο "
               "αριθμός της απόδειξης, VAT, SYNOLIKO_POSO, όπως στις αποδείξεις\n"
               "appointments  τα μισάωρα του βιβλίου ραντεβού που αναφέρουν το επώνυμο του "
               "πελάτη, από το νεότερο: date ημερομηνία, time ώρα, text το κείμενο όπως "
               "γράφτηκε\n\n"
               "Οι αποδείξεις και οι εισπράξεις τηρούνται όσα χρόνια ορίζει ο νόμος, με το "
               "όνομα που είναι τυπωμένο σε αυτές.\n")
        .arg(today, kPdfName, kJsonName, kReadmeName);
}

// A new folder inside `parent` for this export; a second export of the same day gets
// " (2)" and so on.
QString makeFolder(const QString& parent, const QString& name) {
    const QFileInfo where(parent);
    if (parent.isEmpty() || !where.isDir())
        throw UserError(QStringLiteral("Ο φάκελος \"%1\" δεν υπάρχει. Επιλέξτε έναν "
                                       "υπάρχοντα φάκελο.")
                            .arg(QDir::toNativeSeparators(parent)));
    QDir dir(where.absoluteFilePath());
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            n == 1 ? name : QStringLiteral("%1 (%2)").arg(name, QString::number(n));
        if (dir.exists(candidate))
            continue;
        if (!dir.mkdir(candidate))
            break;
        return dir.filePath(candidate);
    }
    throw UserError(QStringLiteral("Δεν μπορεί να δημιουργηθεί φάκελος μέσα στο "
                                   "\"%1\". Ελέγξτε ότι επιτρέπεται η εγγραφή σε αυτόν.")
                        .arg(QDir::toNativeSeparators(dir.path())));
}

} // namespace

bool mentions(QStringView text, QStringView word) {
    const QString w = GreekText::folded(word).trimmed();
    if (w.isEmpty())
        return false;
    const QString t = GreekText::folded(text);
    const auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c.isMark(); };
    for (qsizetype at = t.indexOf(w); at >= 0; at = t.indexOf(w, at + 1)) {
        const qsizetype end = at + w.size();
        if ((at == 0 || !isWordChar(t.at(at - 1))) && (end == t.size() || !isWordChar(t.at(end))))
            return true;
    }
    return false;
}

Exported exportTo(const QString& parent, qlonglong customerId) {
    Connection connection;
    connection.setUp(Global::ConnectionString);
    const QString id = QString::number(customerId);

    Rows customer(connection, QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE ID=") + id);
    if (customer.query.isEmpty())
        throw UserError(
            QStringLiteral("Ο πελάτης με αριθμό %1 δεν υπάρχει πια στο αρχείο.").arg(id));
    const QString name = customer.query.fieldByName(QStringLiteral("ONOMA"))->displayText();
    const QString surname = customer.query.fieldByName(QStringLiteral("EPWNYMO"))->displayText();

    Rows salon(connection, QStringLiteral("SELECT * FROM INFORMATION"));
    Rows visits(connection, QStringLiteral("SELECT * FROM EPISKEPSEIS WHERE ID=") + id +
                                QStringLiteral(" ORDER BY HMEROMHNIA ASC"));
    Rows collections(connection, QStringLiteral("SELECT * FROM EISPRAKSH_PELATH WHERE ID=") + id +
                                     QStringLiteral(" ORDER BY HMEROMHNIA ASC, AR_APODEIKSHS ASC"));
    // Her receipts are those of her collections; a cancelled one lost its collection, and is
    // hers when it bears her exact name and no other customer has that name.
    const QString sameName = QStringLiteral("ONOMA=%1 COLLATE BINARY AND EPWNYMO=%2 COLLATE BINARY")
                                 .arg(Global::QuotedText(name), Global::QuotedText(surname));
    Rows receipts(connection,
                  QStringLiteral("SELECT * FROM APODEIKSEIS WHERE AR_APODEIKSHS IN (SELECT "
                                 "AR_APODEIKSHS FROM EISPRAKSH_PELATH WHERE ID=%1) OR (EGKYRH=0 "
                                 "AND %2 AND (SELECT count(*) FROM STOIXEIA_PELATH WHERE %2)=1) "
                                 "ORDER BY AR_APODEIKSHS ASC")
                      .arg(id, sameName));
    const Appointments appointments = appointmentsOf(connection, surname);

    const QDate today = Clock::today();
    const QString shownToday = Values::displayText(FieldType::Date, today);

    QJsonObject document{
        {QStringLiteral("exported"), Values::isoFromDate(today)},
        {QStringLiteral("program"), QStringLiteral("Marivelle ") + Vendor::version()},
        {QStringLiteral("salon"),
         salon.query.isEmpty() ? QJsonValue(QJsonValue::Null) : jsonRow(salon.query, 0)},
        {QStringLiteral("customer"), jsonRow(customer.query, 0)},
        {QStringLiteral("visits"), jsonRows(visits.query)},
        {QStringLiteral("receipts"), jsonRows(receipts.query)},
        {QStringLiteral("collections"), jsonRows(collections.query)},
        {QStringLiteral("appointments"), appointments.json}};

    ReportTable receiptTable =
        reportTable(QStringLiteral("RvDataSetConnectionAPODEIKSEIS"), receipts.query);
    // Whether each receipt stands, in words.
    const int valid = receipts.query.fieldByName(QStringLiteral("EGKYRH"))->index();
    receiptTable.columns << QStringLiteral("KATASTASH");
    for (int row = 0; row < receiptTable.rows.size(); ++row)
        receiptTable.rows[row] << (receipts.query.cell(row, valid).toBool()
                                       ? QStringLiteral("Έγκυρη")
                                       : QStringLiteral("Ακυρωμένη"));
    const QList<ReportTable> tables = {
        reportTable(QStringLiteral("RvDataSetConnectionPELATHS"), customer.query),
        reportTable(QStringLiteral("RvDataSetConnectionINFORMATION"), salon.query),
        reportTable(QStringLiteral("RvDataSetConnectionEPISKEPSEIS"), visits.query),
        receiptTable,
        reportTable(QStringLiteral("RvDataSetConnectionEISPRAKSEIS"), collections.query),
        appointments.table};
    const ReportTemplate tmpl = ReportTemplate::load(Global::AppDirectory + u'/' + kReport);
    const QString html = tmpl.render(tables, today, {{QStringLiteral("Exported"), shownToday}});
    connection.close();

    Exported done;
    done.folder = makeFolder(
        parent,
        SaveFile::nameFrom(
            QStringLiteral("Στοιχεία πελάτη %1 %2 %3 %4").arg(id, surname, name, shownToday)));
    try {
        done.pdf = QDir(done.folder).filePath(kPdfName);
        done.json = QDir(done.folder).filePath(kJsonName);
        done.readme = QDir(done.folder).filePath(kReadmeName);
        ReportLayout(html, tmpl.orientation(), QFileInfo(kReport).completeBaseName())
            .writePdf(done.pdf);
        SaveFile::write(done.json, QJsonDocument(document).toJson(QJsonDocument::Indented));
        SaveFile::write(done.readme, readmeText(shownToday).toUtf8());
    } catch (...) {
        // A half-written folder would be taken for the whole of her data.
        QDir(done.folder).removeRecursively();
        throw;
    }
    return done;
}

QString anonymousSurname() {
    return QStringLiteral("Ανώνυμος πελάτης");
}

QString anonymiseQuestion(const QString& name, const QString& surname) {
    const QString who = (name + u' ' + surname).trimmed();
    return QStringLiteral("Ανωνυμοποίηση του πελάτη \"%1\".\r\r"
                          "Θα σβηστούν οριστικά το όνομα, το επώνυμο, η ημερομηνία γέννησης, η "
                          "διεύθυνση, τα τηλέφωνα, το επάγγελμα, το ταμείο και το ιστορικό του· "
                          "η καρτέλα θα μείνει ως \"%2\".\r\r"
                          "Μένουν, όπως ορίζει ο νόμος, οι αποδείξεις και οι εισπράξεις του, με "
                          "το όνομα που είναι τυπωμένο σε αυτές. Μένουν επίσης οι επισκέψεις "
                          "του, χωρίς όνομα, και ό,τι είναι γραμμένο στο βιβλίο ραντεβού.\r\r"
                          "Να γίνει η ανωνυμοποίηση;")
        .arg(who.isEmpty() ? QStringLiteral("χωρίς όνομα") : who, anonymousSurname());
}

void anonymise(qlonglong customerId) {
    Connection connection;
    connection.setUp(Global::ConnectionString);
    Transaction transaction(connection);
    const int changed = connection.executeNative(
        QStringLiteral("UPDATE STOIXEIA_PELATH SET ONOMA=NULL, EPWNYMO=%1, "
                       "HMEROMHNIA_GENNHSEWS=NULL, DIEYTHYNSH=NULL, THLEFWNO_1=NULL, "
                       "THLEFWNO_2=NULL, EPAGGELMA=NULL, TAMEIO=NULL, ISTORIKO=NULL WHERE ID=%2")
            .arg(Global::QuotedText(anonymousSurname()))
            .arg(customerId));
    if (changed != 1)
        throw UserError(
            QStringLiteral("Ο πελάτης με αριθμό %1 δεν υπάρχει πια στο αρχείο.").arg(customerId));
    transaction.commit();
}

} // namespace CustomerData
