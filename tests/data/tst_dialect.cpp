#include "TestSupport.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/GreekText.h"
#include "data/JetDialect.h"

#include <QTest>

#include <sqlite3.h>

// Statements exactly as the screens write them, run against the shipped file.
class TestDialect : public QObject {
    Q_OBJECT

    QStringList column(TestDatabase& db, const QString& sql, int col = 0) {
        auto c = db.connect();
        Query q;
        q.setConnection(c.get());
        q.addSql(sql);
        q.open();
        return columnOf(q, col);
    }

    void seed(TestDatabase& db) {
        db.exec(QStringLiteral(
            "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS) VALUES"
            "('Μαρία','Παπαδόπουλος','1980-03-28'),('Ελένη','ΠΑΠΑΣ','1975-01-01'),"
            "('Γιώργος','παπαγεωργίου','2007-03-28'),('Άννα','Αβραμίδου','1990-12-31'),"
            "('Νίκος','Ζαφειρίου','1969-06-15'),('John','Smith','1970-02-02'),"
            "('Σοφία','Ωραιοπούλου',NULL),('Ίρις','Ιωάννου','1985-05-05');"
            "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES"
            "('2007-03-28',32.5,5.85,'Ενοίκιο'),('2007-03-29',10,1.8,'Ρεύμα'),"
            "('2007-04-02',100,18,'Προϊόντα'),('2008-01-15',20,NULL,'Νερό');"
            "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO,VAT,SYNOLIKO_POSO,EGKYRH) VALUES"
            "(1,10,1.5,11.5,1),(2,20,3,23,0),(3,30,4.5,34.5,1);"
            "INSERT INTO YPENTHIMISEIS(HMEROMHNIA,PERIGRAFH) VALUES"
            "('2026-12-09','σήμερα'),('2025-12-09','πέρσι');"
            "INSERT INTO XRHSIMA_THLEFWNA(ONOMATEPWNYMO) VALUES('Έκπτωση 100%'),('Έκπτωση "
            "1000');"));
    }

private slots:
    void translation_data() {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("store");
        QTest::newRow("date literal")
            << QStringLiteral("WHERE D=#3/28/2007#") << QStringLiteral("WHERE D='2007-03-28'");
        QTest::newRow("double-quoted text") << QStringLiteral("Format(D,\"dd/mm/yyyy\")")
                                            << QStringLiteral("Format(D,'dd/mm/yyyy')");
        QTest::newRow("apostrophe inside double quotes")
            << QStringLiteral("\"it's\"") << QStringLiteral("'it''s'");
        QTest::newRow("hash inside text untouched")
            << QStringLiteral("'#1' = \"#2\"") << QStringLiteral("'#1' = '#2'");
        QTest::newRow("brackets untouched")
            << QStringLiteral("[0800-0830], [LAST]") << QStringLiteral("[0800-0830], [LAST]");
        QTest::newRow("doubled quote kept")
            << QStringLiteral("'O''Neil'") << QStringLiteral("'O''Neil'");
    }
    void translation() {
        QFETCH(QString, jet);
        QFETCH(QString, store);
        QCOMPARE(JetDialect::translate(jet), store);
    }

    void badDateLiteralIsRefused() {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 JetDialect::translate(QStringLiteral("WHERE D=#2/31/2007#")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 JetDialect::translate(QStringLiteral("WHERE D=#3/28/2007")));
    }

    void statements_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("col");
        QTest::addColumn<QStringList>("expected");
        const auto L = [](std::initializer_list<const char*> l) {
            QStringList s;
            for (const char* x : l)
                s << QString::fromUtf8(x);
            return s;
        };
        QTest::newRow("= literal")
            << QStringLiteral(
                   "SELECT ONOMA FROM STOIXEIA_PELATH WHERE HMEROMHNIA_GENNHSEWS=#3/28/2007#")
            << 0 << L({"Γιώργος"});
        QTest::newRow("BETWEEN literals")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE HMEROMHNIA_GENNHSEWS "
                              "BETWEEN #1/1/1975# AND #12/31/1980# ORDER BY EPWNYMO ASC")
            << 0 << L({"Παπαδόπουλος", "ΠΑΠΑΣ"});
        QTest::newRow("Format two decimals")
            << QStringLiteral("SELECT Format(POSO,'0.00') AS POSO FROM EKSODA ORDER BY HMEROMHNIA")
            << 0 << L({"32,50", "10,00", "100,00", "20,00"});
        QTest::newRow("Format of NULL stays empty")
            << QStringLiteral(
                   "SELECT Format(VAT,'0.00') AS VAT FROM EKSODA WHERE HMEROMHNIA=#1/15/2008#")
            << 0 << L({""});
        QTest::newRow("Format date")
            << QStringLiteral("SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA FROM "
                              "EKSODA WHERE EKSODA.HMEROMHNIA Between #3/1/2007# AND #4/30/2007# "
                              "ORDER BY EKSODA.HMEROMHNIA ASC")
            << 0 << L({"28/03/2007", "29/03/2007", "02/04/2007"});
        QTest::newRow("Format SUM")
            << QStringLiteral("SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                              "Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM EKSODA "
                              "WHERE EKSODA.HMEROMHNIA Between #1/1/2007# AND #12/31/2007#")
            << 1 << L({"168,15"});
        QTest::newRow("Format SUM of nothing")
            << QStringLiteral("SELECT Format(SUM(POSO),'0.00') AS POSO FROM EKSODA WHERE "
                              "HMEROMHNIA BETWEEN #1/1/1999# AND #1/2/1999#")
            << 0 << L({""});
        QTest::newRow("DAY MONTH YEAR in WHERE")
            << QStringLiteral("SELECT PERIGRAFH from YPENTHIMISEIS WHERE DAY(HMEROMHNIA)=9 AND "
                              "MONTH(HMEROMHNIA)=12 AND YEAR(HMEROMHNIA)=2026")
            << 0 << L({"σήμερα"});
        QTest::newRow("GROUP BY and ORDER BY month")
            << QStringLiteral("SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], YEAR(EKSODA.HMEROMHNIA) "
                              "AS [YEAR], Format(SUM(EKSODA.POSO),'0.00') AS AKSIA FROM EKSODA "
                              "WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN 2007 AND 2008 GROUP BY "
                              "MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  ORDER BY "
                              "YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC")
            << 2 << L({"42,50", "100,00", "20,00"});
        QTest::newRow("EGKYRH=TRUE")
            << QStringLiteral(
                   "SELECT Format(sum(POSO),'0.00') AS POSO FROM APODEIKSEIS WHERE EGKYRH=TRUE")
            << 0 << L({"40,00"});
        QTest::newRow("boolean shown")
            << QStringLiteral("SELECT EGKYRH FROM APODEIKSEIS ORDER BY AR_APODEIKSHS") << 0
            << L({"True", "False", "True"});
        QTest::newRow("bracketed PASSWORD")
            << QStringLiteral("SELECT [PASSWORD] FROM SECURITY") << 0 << L({"58204613"});
        QTest::newRow("LIKE without blank, Greek, any case and accent")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'Παπ%' ORDER "
                              "BY EPWNYMO ASC")
            << 0 << L({"παπαγεωργίου", "Παπαδόπουλος", "ΠΑΠΑΣ"});
        QTest::newRow("LIKE lower case finds capitals")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'παπα%' ORDER "
                              "BY EPWNYMO ASC")
            << 0 << L({"παπαγεωργίου", "Παπαδόπουλος", "ΠΑΠΑΣ"});
        QTest::newRow("LIKE final sigma")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'%ς'") << 0
            << L({"Παπαδόπουλος", "ΠΑΠΑΣ"});
        QTest::newRow("LIKE accent typed")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'ίωαν%'") << 0
            << L({"Ιωάννου"});
        QTest::newRow("LIKE underscore")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'Smit_'") << 0
            << L({"Smith"});
        QTest::newRow("LIKE ESCAPE")
            << QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA WHERE ONOMATEPWNYMO LIKE "
                              "'%100!%' ESCAPE '!'")
            << 0 << L({"Έκπτωση 100%"});
        QTest::newRow("LIKE without ESCAPE")
            << QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA WHERE ONOMATEPWNYMO LIKE "
                              "'έκπτωση 100%'")
            << 0 << L({"Έκπτωση 100%", "Έκπτωση 1000"});
        QTest::newRow("Greek ORDER BY ignores case and accents")
            << QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC") << 0
            << L({"Smith", "Αβραμίδου", "Ζαφειρίου", "Ιωάννου", "παπαγεωργίου", "Παπαδόπουλος",
                  "ΠΑΠΑΣ", "Ωραιοπούλου"});
        QTest::newRow("dates shown d/M/yyyy")
            << QStringLiteral(
                   "SELECT HMEROMHNIA_GENNHSEWS FROM STOIXEIA_PELATH WHERE EPWNYMO='Αβραμίδου'")
            << 0 << L({"31/12/1990"});
        QTest::newRow("= ignores case")
            << QStringLiteral("SELECT ONOMA FROM STOIXEIA_PELATH WHERE EPWNYMO='παπας'") << 0
            << L({"Ελένη"});
    }
    void statements() {
        QFETCH(QString, sql);
        QFETCH(int, col);
        QFETCH(QStringList, expected);
        TestDatabase db;
        seed(db);
        QStringList got;
        MV_VERIFY_NOTHROW(got = column(db, sql, col));
        QCOMPARE(got, expected);
    }

    void commands() {
        TestDatabase db;
        auto c = db.connect();
        Command cmd;
        cmd.setConnection(c.get());
        const auto run = [&](const QString& sql) {
            cmd.setCommandText(sql);
            return cmd.execute();
        };
        run(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/28/2007#)"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT HMEROMHNIA FROM RANTEBOU")),
                 QStringLiteral("2007-03-28"));
        QVERIFY_THROWS_EXCEPTION(
            std::exception,
            run(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/28/2007#)")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM RANTEBOU")), QStringLiteral("1"));

        QCOMPARE(run(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='Νέος 1/2'")), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT PASSWORD FROM SECURITY")),
                 QStringLiteral("Νέος 1/2"));

        run(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(57)"));
        run(QStringLiteral("UPDATE LAST_APODEIKSH SET [LAST]=[LAST]+1"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT [LAST] FROM LAST_APODEIKSH")),
                 QStringLiteral("58"));

        run(QStringLiteral("INSERT INTO "
                           "APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,TAMEIO,POSO_CY,"
                           "PERIGRAFH,VAT,SYNOLIKO_POSO) VALUES(57,'Μαρία','Κ','Μαρία "
                           "Κ',12.5,'1',7.32,'Μανικιούρ',1.87,14.37)"));
        run(QStringLiteral("UPDATE APODEIKSEIS SET EGKYRH=FALSE WHERE AR_APODEIKSHS=57"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT EGKYRH FROM APODEIKSEIS")), QStringLiteral("0"));
    }

    // The sqlite3 tool has none of our functions; the file must still read, sort and check.
    void fileStaysReadableWithoutTheDialect() {
        TestDatabase db;
        seed(db);
        sqlite3* h = nullptr;
        QCOMPARE(sqlite3_open_v2(db.path().toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        QStringList got;
        auto collect = [](void* out, int, char** v, char**) {
            static_cast<QStringList*>(out)->append(QString::fromUtf8(v[0] ? v[0] : ""));
            return 0;
        };
        QCOMPARE(sqlite3_exec(h, "PRAGMA integrity_check", collect, &got, nullptr), SQLITE_OK);
        QCOMPARE(got, QStringList{QStringLiteral("ok")});
        got.clear();
        QCOMPARE(sqlite3_exec(h, "SELECT EPWNYMO FROM STOIXEIA_PELATH ORDER BY EPWNYMO", collect,
                              &got, nullptr),
                 SQLITE_OK);
        QCOMPARE(got.size(), 8);
        sqlite3_close(h);
    }

    void greekFolding_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("case") << QStringLiteral("ΠΑΠΑΣ") << QStringLiteral("παπας");
        QTest::newRow("tonos") << QStringLiteral("Άννα") << QStringLiteral("αννα");
        QTest::newRow("dialytika with tonos") << QStringLiteral("ΐ") << QStringLiteral("Ι");
        QTest::newRow("final sigma") << QStringLiteral("ς") << QStringLiteral("Σ");
        QTest::newRow("latin") << QStringLiteral("Éva") << QStringLiteral("eva");
    }
    void greekFolding() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QCOMPARE(GreekText::folded(a), GreekText::folded(b));
        const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
        QCOMPARE(
            GreekText::compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size())),
            0);
        QVERIFY(GreekText::like(b, a));
    }
};

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
