#include "../receipts/DeskFixture.h"
#include "../ui/UiFixture.h"
#include "FileBytes.h"

#include "customers/CustomerData.h"
#include "customers/Unit18.h"
#include "ui/DBText.h"

#include <QAction>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>

#include <functional>

namespace {

// 2,000 characters of history, quotes and line breaks in it, marked at both ends.
QString longHistory() {
    const QString end = QStringLiteral("\nΤΕΛΟΣ ΙΣΤΟΡΙΚΟΥ 2000");
    QString text = QStringLiteral("ΑΡΧΗ ΙΣΤΟΡΙΚΟΥ\n");
    while (text.size() < 2000)
        text += QStringLiteral("Αλλεργία στο λάτεξ· προτιμά \"ήπια\" προϊόντα, όχι 'έντονα'.\n");
    text.truncate(2000 - end.size());
    return text + end;
}

// The desk's file (customer 42 Ελένη Ντ'Αμίκο with receipts 1001 and 1002 and their
// collections, the record beside it), with 1002 cancelled since, her card filled in, her
// visits, another customer with a receipt of her own, and an appointment book that names
// her, a namesake-like surname and others.
struct CustomerFile : DeskFile {
    CustomerFile() : DeskFile(2) {
        db.exec(QStringLiteral(
                    "UPDATE APODEIKSEIS SET EGKYRH=0 WHERE AR_APODEIKSHS=1002;"
                    "DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=1002;"
                    "UPDATE STOIXEIA_PELATH SET FYLO='ΘΗΛΥ', HMEROMHNIA_GENNHSEWS='1984-05-02', "
                    "DIEYTHYNSH='Ερμού 12, Αθήνα', THLEFWNO_1='2101234567', "
                    "THLEFWNO_2='6944123456', EPAGGELMA='Λογίστρια', TAMEIO='ΕΦΚΑ', ISTORIKO=%1 "
                    "WHERE ID=42;"
                    "INSERT INTO STOIXEIA_PELATH(ID,ONOMA,EPWNYMO,ISTORIKO) VALUES(44,'Μαρία',"
                    "'Οικονόμου','Ιστορικό της Μαρίας');"
                    "INSERT INTO EPISKEPSEIS VALUES(42,'2026-03-10','Κούρεμα',NULL),"
                    "(42,'2026-03-01','Βαφή','Καστανό 6.0'),(44,'2026-03-02','Μανικιούρ','');"
                    "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,VAT,"
                    "SYNOLIKO_POSO) VALUES(1003,'Μαρία','Οικονόμου','Μαρία Οικονόμου',10,2.4,"
                    "12.4);"
                    "INSERT INTO EISPRAKSH_PELATH(ID,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
                    "VALUES(44,10,1003,2.4,12.4);"
                    "UPDATE LAST_APODEIKSH SET [LAST]=1004;"
                    "INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830],[0830-0900]) VALUES('2026-03-16',"
                    "'Ζωή Ντ''Αμίκο βαφή','Μαρία Οικονόμου');"
                    "INSERT INTO RANTEBOU(HMEROMHNIA,[1000-1030],[1100-1130]) VALUES('2026-03-20',"
                    "'ΝΤ''ΑΜΙΚΟ Ελένη','Κώστας Ντ''Αμίκου')")
                    .arg(Global::QuotedText(longHistory())));
    }

    // The receipts as stored, every value exactly, with the counter and the record.
    QByteArray receiptState() const {
        const std::pair<const char*, const char*> tables[] = {
            {"APODEIKSEIS", "AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,PARALHPTHS,POSO,TAMEIO,"
                            "POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH"},
            {"EISPRAKSH_PELATH",
             "ID,HMEROMHNIA,POSO,PERIGRAFH,TAMEIO,POSO_CY,AR_APODEIKSHS,VAT,SYNOLIKO_POSO"},
            {"LAST_APODEIKSH", "[LAST]"}};
        QByteArray state;
        for (const auto& [table, columns] : tables) {
            QStringList values{QStringLiteral("rowid")};
            for (const QString& c : QString::fromLatin1(columns).split(u','))
                values << QStringLiteral("typeof(%1)||':'||CASE typeof(%1) WHEN 'real' THEN "
                                         "printf('%!.20e',%1) ELSE quote(%1) END")
                              .arg(c);
            state +=
                db.scalar(QStringLiteral("SELECT group_concat(%1, char(10)) FROM (SELECT * "
                                         "FROM %2 ORDER BY rowid)")
                              .arg(values.join(QStringLiteral("||'|'||")), QLatin1String(table)))
                    .toUtf8() +
                '\n';
        }
        return state + fileBytes(db.path() + QStringLiteral(".receipts"));
    }
    // Every column of every customer, and every visit.
    QString customers() const {
        return db.scalar(
            "SELECT group_concat(ID||'|'||quote(ONOMA)||'|'||quote(EPWNYMO)||'|'||quote(FYLO)||'|'"
            "||quote(HMEROMHNIA_GENNHSEWS)||'|'||quote(DIEYTHYNSH)||'|'||quote(THLEFWNO_1)||'|'"
            "||quote(THLEFWNO_2)||'|'||quote(EPAGGELMA)||'|'||quote(TAMEIO)||'|'||"
            "quote(length(ISTORIKO)), ';') FROM (SELECT * FROM STOIXEIA_PELATH ORDER BY ID)");
    }
    QString visits() const {
        return db.scalar("SELECT group_concat(ID||HMEROMHNIA||AITIA, ';') FROM EPISKEPSEIS");
    }
};

// The JSON file read back: what each part holds, as one line of text.
QMap<QString, QString> summary(const QJsonObject& json) {
    QMap<QString, QString> s;
    const QJsonObject customer = json.value("customer").toObject();
    s["customer"] =
        QStringList{QString::number(customer.value("ID").toInteger()),
                    customer.value("ONOMA").toString(), customer.value("EPWNYMO").toString(),
                    customer.value("HMEROMHNIA_GENNHSEWS").toString(),
                    customer.value("THLEFWNO_2").toString()}
            .join(u' ');
    s["history"] = customer.value("ISTORIKO").toString() == longHistory() ? "whole" : "changed";
    const auto rows = [&](const char* part, const std::function<QString(QJsonObject)>& f) {
        QStringList out;
        for (const QJsonValue& v : json.value(QLatin1String(part)).toArray())
            out << f(v.toObject());
        return out.join(u'|');
    };
    s["visits"] = rows("visits", [](QJsonObject o) {
        return o["HMEROMHNIA"].toString() + u' ' + o["AITIA"].toString();
    });
    s["receipts"] = rows("receipts", [](QJsonObject o) {
        return QString::number(o["AR_APODEIKSHS"].toInteger()) + u' ' +
               (o["EGKYRH"].toBool() ? "valid" : "cancelled") + u' ' +
               QString::number(o["SYNOLIKO_POSO"].toDouble());
    });
    s["collections"] = rows("collections", [](QJsonObject o) {
        return QString::number(o["AR_APODEIKSHS"].toInteger()) + u' ' +
               QString::number(o["POSO"].toDouble());
    });
    s["appointments"] = rows("appointments", [](QJsonObject o) {
        return o["date"].toString() + u' ' + o["time"].toString() + u' ' + o["text"].toString();
    });
    s["salon"] = json.value("salon").toObject().value("TITLE").toString();
    return s;
}

// The catalogue over the file, listing every customer, with customer 42 current; the folder
// dialog is answered with `folder` (empty: cancelled).
struct Catalogue : ScreenFixture::Scope {
    CustomerFile file;
    TForm18 form;
    QString folder;
    int dialogs = 0;

    Catalogue() {
        Clock::setFixedForTesting(QDate(2026, 3, 15));
        Modal::setTestHook([this](QDialog& d) {
            auto* files = qobject_cast<QFileDialog*>(&d);
            if (!files)
                qFatal("unexpected window %s", d.metaObject()->className());
            ++dialogs;
            if (folder.isEmpty())
                return int(QDialog::Rejected);
            // A folder that is there is browsed to; a name of none is typed in.
            if (QFileInfo(folder).isDir())
                files->setDirectory(folder);
            else
                files->selectFile(folder);
            return int(QDialog::Accepted);
        });
        form.CatalogueSql = QStringLiteral("SELECT * FROM STOIXEIA_PELATH ORDER BY ID");
    }
    bool show() { return showActive(form); }
    void trigger(const char* item) { child<QAction>(form, QLatin1String(item))->trigger(); }
};

} // namespace

// A customer's data handed to her, and her record made anonymous, receipts untouched.
class TestCustomerData : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ScreenFixture::end(); }

    // The catalogue's menu keeps its items and gains three at its end.
    void catalogueMenu() {
        Catalogue c;
        QVERIFY(c.show());
        QStringList items;
        for (QAction* a : child<QMenu>(c.form, "N1")->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
        QCOMPARE(items,
                 (QStringList{"N2=Στοιχεί&α πελάτη", "N3=Ιστορικό πελάτη", "N4=Επισκέ&ψεις πελάτη",
                              "-", "N6=Εισπράξεις από πελάτη", "KLLLL1=Έκδοση απόδειξ&ης", "-",
                              "N5=Ε&κτυπώσεις", "N10=Έ&ξοδος", "-", "N11=Ραντεβού πελάτη",
                              "N12=Εξαγωγή στοιχείων πελάτη", "N13=Ανωνυμοποίηση πελάτη"}));
    }

    void exportReadsBack_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("json");
        QTest::addColumn<QStringList>("inPdf");
        QTest::newRow("her card") << "customer"
                                  << "42 Ελένη Ντ'Αμίκο 1984-05-02 6944123456"
                                  << QStringList{
                                         "Ντ'Αμίκο",   "Ελένη",     "2/5/1984", "Ερμού 12, Αθήνα",
                                         "2101234567", "Λογίστρια", "ΕΦΚΑ",     "ΘΗΛΥ"};
        QTest::newRow("her history, 2,000 characters")
            << "history"
            << "whole"
            << QStringList{"ΑΡΧΗ ΙΣΤΟΡΙΚΟΥ", "προτιμά \"ήπια\" προϊόντα, όχι 'έντονα'",
                           "ΤΕΛΟΣ ΙΣΤΟΡΙΚΟΥ 2000"};
        QTest::newRow("her visits, oldest first")
            << "visits"
            << "2026-03-01 Βαφή|2026-03-10 Κούρεμα"
            << QStringList{"1/3/2026 Βαφή Καστανό 6.0", "10/3/2026 Κούρεμα"};
        QTest::newRow("her receipts, the cancelled one too")
            << "receipts"
            << "1001 valid 24.8|1002 cancelled 24.8"
            << QStringList{"1001", "1002",  "Ελένη Ντ'Αμίκο", "20,00",
                           "4,80", "24,80", "Έγκυρη",         "Ακυρωμένη"};
        QTest::newRow("her collections") << "collections"
                                         << "1001 20" << QStringList{"Εισπράξεις"};
        QTest::newRow("slots naming her surname as a word")
            << "appointments"
            << "2026-03-20 10:00 - 10:30 ΝΤ'ΑΜΙΚΟ Ελένη|2026-03-16 08:00 - 08:30 Ζωή Ντ'Αμίκο βαφή"
            << QStringList{"20/3/2026 Παρασκευή 10:00 - 10:30 ΝΤ'ΑΜΙΚΟ Ελένη",
                           "16/3/2026 Δευτέρα 08:00 - 08:30 Ζωή Ντ'Αμίκο βαφή"};
        QTest::newRow("who holds them")
            << "salon"
            << "Κέντρο Αισθητικής Ίριδα" << QStringList{"Κέντρο Αισθητικής Ίριδα", "15/3/2026"};
    }
    void exportReadsBack() {
        QFETCH(QString, part);
        QFETCH(QString, json);
        QFETCH(QStringList, inPdf);
        Catalogue c;
        QTemporaryDir stick;
        c.folder = stick.path();
        QVERIFY(c.show());
        c.trigger("N12");
        QCOMPARE(c.dialogs, 1);
        const QStringList made = QDir(stick.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made, QStringList{"Στοιχεία πελάτη 42 Ντ'Αμίκο Ελένη 15-3-2026"});
        const QDir folder(QDir(stick.path()).filePath(made.constFirst()));
        QCOMPARE(folder.entryList(QDir::Files, QDir::Name),
                 (QStringList{"README.txt", "Στοιχεία.json", "Στοιχεία.pdf"}));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shownTexts().constFirst().contains(folder.path()));

        QJsonParseError error;
        const QJsonDocument doc =
            QJsonDocument::fromJson(fileBytes(folder.filePath("Στοιχεία.json")), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(summary(doc.object()).value(part), json);

        const QString pdf = flattened(pdfText(folder.filePath("Στοιχεία.pdf"), {"-layout"}));
        const QString fault = textFault(
            pdf, inPdf, {"Οικονόμου", "1003", "Ντ'Αμίκου", "Μανικιούρ", "Ιστορικό της Μαρίας"});
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        // The README explains every part of the JSON file.
        const QString readme = QString::fromUtf8(fileBytes(folder.filePath("README.txt")));
        for (const QString& key : doc.object().keys())
            QVERIFY2(readme.contains(u'\n' + key + u' '), qPrintable(key));
    }

    // Nothing is written when the person cancels, the folder is gone or the report file
    // is missing; a second export the same day gets a folder of its own.
    void exportRefusals_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message"); // empty: none
        QTest::addColumn<int>("folders");
        QTest::newRow("cancelled") << "cancel" << QString() << 0;
        QTest::newRow("folder gone") << "gone"
                                     << "δεν υπάρχει" << 0;
        QTest::newRow("report file missing")
            << "no report"
            << "The following reporting project does not exist:" << 0;
        QTest::newRow("twice the same day") << "twice"
                                            << "(2)" << 2;
    }
    void exportRefusals() {
        QFETCH(QString, how);
        QFETCH(QString, message);
        QFETCH(int, folders);
        Catalogue c;
        QTemporaryDir stick;
        c.folder = how == u"cancel" ? QString()
                   : how == u"gone" ? stick.filePath("άλλος φάκελος/")
                                    : stick.path();
        if (how == u"no report")
            QVERIFY(QFile::remove(c.file.db.dir() + "/DEDOMENA.RAV"));
        QVERIFY(c.show());
        c.trigger("N12");
        if (how == u"twice") {
            Messages::clearShown();
            c.trigger("N12");
        }
        QCOMPARE(Messages::shown().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(Messages::shownTexts().constFirst().contains(message),
                     qPrintable(Messages::shownTexts().constFirst()));
        QCOMPARE(QDir(stick.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 folders);
    }

    void wholeWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("named");
        QTest::newRow("as written") << "Ελένη Παπά βαφή"
                                    << "Παπά" << true;
        QTest::newRow("capitals, no accent") << "ΕΛΕΝΗ ΠΑΠΑ"
                                             << "Παπά" << true;
        QTest::newRow("final sigma") << "κος Παπάς."
                                     << "ΠΑΠΑΣ" << true;
        QTest::newRow("start of a longer name") << "Παπαδοπούλου"
                                                << "Παπά" << false;
        QTest::newRow("end of a longer name") << "Σταπαπά"
                                              << "Παπά" << false;
        QTest::newRow("with an apostrophe") << "(Ντ'Αμίκο)"
                                            << "ντ'αμικο" << true;
        QTest::newRow("followed by a letter") << "Ντ'Αμίκου"
                                              << "Ντ'Αμίκο" << false;
        QTest::newRow("blank word") << "κάτι"
                                    << "  " << false;
    }
    void wholeWords() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(bool, named);
        QCOMPARE(CustomerData::mentions(text, word), named);
    }

    // Anonymising replaces her card and nothing else: receipts, collections, the counter
    // and the receipt record stay byte for byte; a refusal of the store changes nothing.
    void anonymise_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message"); // after the question; empty: none
        QTest::addColumn<bool>("changed");
        QTest::newRow("Yes") << "yes" << QString() << true;
        QTest::newRow("No") << "no" << QString() << false;
        QTest::newRow("a trigger aborts") << "abort"
                                          << "χωρίς αναλυτικά στοιχεία" << false;
        QTest::newRow("a trigger rolls back") << "rollback"
                                              << "χωρίς αναλυτικά στοιχεία" << false;
        QTest::newRow("deleted meanwhile") << "deleted"
                                           << "δεν υπάρχει πια" << false;
        QTest::newRow("read-only file") << "read-only"
                                        << "" << false;
    }
    void anonymise() {
        QFETCH(QString, how);
        QFETCH(QString, message);
        QFETCH(bool, changed);
        Catalogue c;
        QVERIFY(c.show());
        if (how == u"abort" || how == u"rollback")
            c.file.db.exec(QStringLiteral("CREATE TRIGGER no_change BEFORE UPDATE ON "
                                          "STOIXEIA_PELATH BEGIN SELECT RAISE(%1, 'χωρίς "
                                          "αναλυτικά στοιχεία'); END")
                               .arg(how == u"abort" ? "ABORT" : "ROLLBACK"));
        const QByteArray receipts = c.file.receiptState();
        const QString visits = c.file.visits();
        QString before = c.file.customers();
        if (how == u"deleted") {
            c.file.db.exec("DELETE FROM STOIXEIA_PELATH WHERE ID=42");
            before = c.file.customers();
        }
        struct Immutable {
            QString path;
            bool on = false;
            ~Immutable() {
                if (on)
                    QProcess::execute("chattr", {"-i", path});
            }
        } immutable{c.file.db.path()};
        if (how == u"read-only") {
            immutable.on = QProcess::execute("chattr", {"+i", immutable.path}) == 0;
            if (!immutable.on)
                QSKIP("this file system keeps no immutable files");
        }
        Messages::setNextAnswers({how != u"no"});
        c.trigger("N13");

        const QList<Messages::Shown> shown = Messages::shown();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.constFirst().kind, Messages::Kind::Question);
        const QString question = shown.constFirst().text;
        for (const char* piece : {"Ελένη Ντ'Αμίκο", "αποδείξεις και οι εισπράξεις",
                                  "με το όνομα που είναι τυπωμένο", "Να γίνει η ανωνυμοποίηση;"})
            QVERIFY2(question.contains(QString::fromUtf8(piece)), qPrintable(question));
        if (how == u"read-only")
            QVERIFY(shown.size() == 2 && shown.constLast().kind == Messages::Kind::Error);
        else if (!message.isEmpty())
            QVERIFY2(shown.size() == 2 && shown.constLast().text.contains(message),
                     qPrintable(Messages::shownTexts().join(u'|')));
        else
            QCOMPARE(shown.size(), 1);

        QCOMPARE(c.file.receiptState(), receipts);
        QCOMPARE(c.file.visits(), visits);
        const QString after = c.file.customers();
        if (!changed) {
            QCOMPARE(after, before);
            return;
        }
        QCOMPARE(after, QStringLiteral("42|NULL|'Ανώνυμος πελάτης'|'ΘΗΛΥ'|NULL|NULL|NULL|NULL|"
                                       "NULL|NULL|NULL;44|'Μαρία'|'Οικονόμου'|NULL|NULL|NULL|"
                                       "NULL|NULL|NULL|NULL|19"));
        // The list shows her under the new name, still current.
        QCOMPARE(child<DBText>(c.form, "DBText3")->text(), CustomerData::anonymousSurname());
    }
};

QTEST_MAIN(TestCustomerData)
#include "tst_customer_data.moc"
