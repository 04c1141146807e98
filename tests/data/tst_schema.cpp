#include "TestSupport.h"

#include "data/Connection.h"
#include "data/DataSet.h"

#include <QDate>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

// The shipped data file: tables, columns in order, keys, defaults and first content.
class TestSchema : public QObject {
    Q_OBJECT

    static QStringList columnsOf(const TestDatabase& db, const QString& table) {
        SQLite::Database h(db.path().toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement st(h, "SELECT name, type FROM pragma_table_info('" + table.toStdString() +
                                    "')");
        QStringList out;
        while (st.executeStep())
            out << QString::fromStdString(st.getColumn(0).getString()) + QLatin1Char(':') +
                       QString::fromStdString(st.getColumn(1).getString()).section(u'(', 0, 0);
        return out;
    }

private slots:
    void tables() {
        TestDatabase db;
        SQLite::Database h(db.path().toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement st(h, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT "
                                "LIKE 'sqlite%' ORDER BY rowid");
        QStringList names;
        while (st.executeStep())
            names << QString::fromStdString(st.getColumn(0).getString());
        QCOMPARE(names, (QStringList{"STOIXEIA_PELATH", "EPISKEPSEIS", "APODEIKSEIS",
                                     "EISPRAKSH_PELATH", "LAST_APODEIKSH", "SYNTELESTHS_VAT",
                                     "INFORMATION", "EKSODA", "SHMEIWSEIS", "YPENTHIMISEIS",
                                     "XRHSIMA_THLEFWNA", "SECURITY", "RANTEBOU"}));
    }

    void columns_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("customers")
            << "STOIXEIA_PELATH"
            << "ID:INTEGER ONOMA:VARCHAR EPWNYMO:VARCHAR FYLO:VARCHAR HMEROMHNIA_GENNHSEWS:DATE "
               "DIEYTHYNSH:VARCHAR THLEFWNO_1:VARCHAR THLEFWNO_2:VARCHAR EPAGGELMA:VARCHAR "
               "TAMEIO:VARCHAR ISTORIKO:TEXT";
        QTest::newRow("visits") << "EPISKEPSEIS"
                                << "ID:INTEGER HMEROMHNIA:DATE AITIA:VARCHAR PERIGRAFH:VARCHAR";
        QTest::newRow("receipts")
            << "APODEIKSEIS"
            << "AR_APODEIKSHS:INTEGER HMEROMHNIA:DATE ONOMA:VARCHAR EPWNYMO:VARCHAR "
               "PARALHPTHS:VARCHAR POSO:DOUBLE TAMEIO:VARCHAR POSO_CY:DOUBLE PERIGRAFH:VARCHAR "
               "VAT:DOUBLE SYNOLIKO_POSO:DOUBLE EGKYRH:BOOLEAN";
        QTest::newRow("collections")
            << "EISPRAKSH_PELATH"
            << "ID:INTEGER HMEROMHNIA:DATE POSO:DOUBLE PERIGRAFH:VARCHAR TAMEIO:VARCHAR "
               "POSO_CY:DOUBLE AR_APODEIKSHS:INTEGER VAT:DOUBLE SYNOLIKO_POSO:DOUBLE";
        QTest::newRow("counter") << "LAST_APODEIKSH"
                                 << "LAST:INTEGER";
        QTest::newRow("vat") << "SYNTELESTHS_VAT"
                             << "VAT_RATIO:DOUBLE";
        QTest::newRow("header") << "INFORMATION"
                                << "TITLE:VARCHAR ADDRESS1:VARCHAR ADDRESS2:VARCHAR PHONE:VARCHAR "
                                   "FAX:VARCHAR WEBSITE:VARCHAR EMAIL:VARCHAR AFT:VARCHAR "
                                   "AFPA:VARCHAR EXTRA1:VARCHAR EXTRA2:VARCHAR EXTRA3:VARCHAR "
                                   "EXTRA4:VARCHAR EXTRA5:VARCHAR EXTRA6:VARCHAR EXTRA7:VARCHAR";
        QTest::newRow("expenses") << "EKSODA"
                                  << "HMEROMHNIA:DATE POSO:DOUBLE VAT:DOUBLE PERIGRAFH:VARCHAR";
        QTest::newRow("notes") << "SHMEIWSEIS"
                               << "ID:INTEGER TITLOS:VARCHAR PERIGRAFH:TEXT";
        QTest::newRow("reminders") << "YPENTHIMISEIS"
                                   << "HMEROMHNIA:DATE PERIGRAFH:TEXT";
        QTest::newRow("phones") << "XRHSIMA_THLEFWNA"
                                << "ONOMATEPWNYMO:VARCHAR DIEYTHYNSH:VARCHAR THLEFWNO_1:VARCHAR "
                                   "THLEFWNO_2:VARCHAR FAX:VARCHAR EMAIL:VARCHAR PERIGRAFH:VARCHAR";
        QTest::newRow("security") << "SECURITY"
                                  << "PASSWORD:VARCHAR";
    }
    void columns() {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        TestDatabase db;
        QCOMPARE(columnsOf(db, table).join(u' '), columns);
    }

    void appointmentBookHasExactlyItsSlots() {
        TestDatabase db;
        const QStringList cols = columnsOf(db, QStringLiteral("RANTEBOU"));
        QCOMPARE(cols.size(), 29);
        QCOMPARE(cols.first(), QStringLiteral("HMEROMHNIA:DATE"));
        QStringList expected;
        for (int m = 8 * 60; m < 22 * 60; m += 30)
            expected << QStringLiteral("%1%2-%3%4:VARCHAR")
                            .arg(m / 60, 2, 10, QLatin1Char('0'))
                            .arg(m % 60, 2, 10, QLatin1Char('0'))
                            .arg((m + 30) / 60, 2, 10, QLatin1Char('0'))
                            .arg((m + 30) % 60, 2, 10, QLatin1Char('0'));
        QCOMPARE(cols.mid(1), expected);
    }

    void firstContent() {
        TestDatabase db;
        QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(PASSWORD) FROM SECURITY")),
                 QStringLiteral("58204613"));
        for (const char* t : {"STOIXEIA_PELATH", "EPISKEPSEIS", "APODEIKSEIS", "EISPRAKSH_PELATH",
                              "LAST_APODEIKSH", "SYNTELESTHS_VAT", "INFORMATION", "EKSODA",
                              "SHMEIWSEIS", "YPENTHIMISEIS", "XRHSIMA_THLEFWNA", "RANTEBOU"})
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(t)),
                     QStringLiteral("0"));
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
    }

    // Receipts and collections inserted without date or valid flag get today and Yes.
    void defaultsFillWhatInsertsLeaveOut() {
        TestDatabase db;
        auto c = db.connect();
        c->execute(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO) VALUES(1,10)"));
        c->execute(
            QStringLiteral("INSERT INTO EISPRAKSH_PELATH(ID,POSO,AR_APODEIKSHS) VALUES(3,10,1)"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(db.scalar(QStringLiteral("SELECT HMEROMHNIA || '|' || EGKYRH FROM APODEIKSEIS")),
                 today + QStringLiteral("|1"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT HMEROMHNIA FROM EISPRAKSH_PELATH")), today);
    }

    void appointmentDateIsUniqueAndRequired() {
        TestDatabase db;
        auto c = db.connect();
        c->execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2024#)"));
        QVERIFY_THROWS_EXCEPTION(
            std::exception,
            c->execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2024#)")));
        QVERIFY_THROWS_EXCEPTION(
            std::exception,
            c->execute(QStringLiteral("INSERT INTO RANTEBOU([0800-0830]) VALUES('x')")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM RANTEBOU")), QStringLiteral("1"));
    }

    void receiptNumberIsUnique() {
        TestDatabase db;
        auto c = db.connect();
        const QString insert = QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS) VALUES(7)");
        c->execute(insert);
        QVERIFY_THROWS_EXCEPTION(std::exception, c->execute(insert));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM APODEIKSEIS")),
                 QStringLiteral("1"));
    }

    // The receipts' searches stay instant over twenty years: each goes through its index.
    void receiptSearchesUseAnIndex_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("index");
        QTest::newRow("period") << "SELECT sum(POSO) FROM APODEIKSEIS WHERE HMEROMHNIA BETWEEN "
                                   "'2007-01-01' AND '2007-12-31' AND EGKYRH=1"
                                << "APODEIKSEIS_DATE";
        QTest::newRow("customer") << "SELECT * FROM EISPRAKSH_PELATH WHERE ID=7 ORDER BY "
                                     "HMEROMHNIA DESC"
                                  << "EISPRAKSH_PELATH_CUSTOMER";
        QTest::newRow("cancel") << "DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=57"
                                << "EISPRAKSH_PELATH_NUMBER";
    }
    void receiptSearchesUseAnIndex() {
        QFETCH(QString, statement);
        QFETCH(QString, index);
        TestDatabase db;
        SQLite::Database h(db.path().toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement st(h, "EXPLAIN QUERY PLAN " + statement.toStdString());
        QString plan;
        while (st.executeStep())
            plan += QString::fromStdString(st.getColumn(3).getString()) + u'\n';
        QVERIFY2(plan.contains(index) && !plan.contains(QLatin1String("TEMP B-TREE")),
                 qPrintable(plan));
    }

    // Greek-aware and built-in NOCASE orders differ: an index on such a column would break.
    void noIndexOnTextColumns() {
        TestDatabase db;
        QCOMPARE(db.scalar(QStringLiteral(
                     "SELECT count(*) FROM sqlite_master m, pragma_index_list(m.name) l, "
                     "pragma_index_xinfo(l.name) x WHERE m.type='table' AND x.coll='NOCASE'")),
                 QStringLiteral("0"));
    }

    // A deleted customer's or note's number is never given again.
    void autoNumbersAreNotReused_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::newRow("customers") << "STOIXEIA_PELATH"
                                   << "EPWNYMO";
        QTest::newRow("notes") << "SHMEIWSEIS"
                               << "TITLOS";
    }
    void autoNumbersAreNotReused() {
        QFETCH(QString, table);
        QFETCH(QString, column);
        TestDatabase db;
        auto c = db.connect();
        Table t;
        t.setConnection(c.get());
        t.setTableName(table);
        t.open();
        for (const char* name : {"α", "β"}) {
            t.append();
            t.fieldByName(column)->setText(QString::fromUtf8(name));
            t.post();
        }
        QCOMPARE(t.fieldByName(QStringLiteral("ID"))->asInteger(), 2);
        t.deleteRecord(); // the highest
        t.append();
        t.fieldByName(column)->setText(QStringLiteral("γ"));
        t.post();
        QCOMPARE(t.fieldByName(QStringLiteral("ID"))->asInteger(), 3);
        QCOMPARE(t.fieldByName(QStringLiteral("ID"))->type(), FieldType::AutoInc);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
