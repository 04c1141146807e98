#include "ReportFixture.h"
#include "ScreenFixture.h"
#include "TestSupport.h"

#include "report/ReportHtml.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplate.h"
#include "ui/ReportPreview.h"
#include "ui/Seams.h"

#include <QAction>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QStringEncoder>

namespace {

const QString kCustomerList = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");
const QString kDataList =
    QStringLiteral("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, "
                   "THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ");
const QString kHistoryList =
    QStringLiteral("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, "
                   "THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, TAMEIO, ISTORIKO FROM STOIXEIA_PELATH ");

void addCustomers(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, DIEYTHYNSH, "
        "THLEFWNO_1, THLEFWNO_2, EPAGGELMA, TAMEIO, ISTORIKO) VALUES "
        "('Μαρία', 'Παπαδοπούλου', 'ΘΗΛΥ', '1985-07-03', 'Ερμού 12', '2101234567', "
        "'6944123456', 'Λογίστρια', 'ΕΦΚΑ', 'Καθαρισμός προσώπου\nΜάσκα υδάτωσης\nΑλλεργία "
        "στο λάτεξ'), "
        "('Νίκος', 'Αλεξίου', 'ΑΡΡΕΝ', '1990-12-25', 'Πατησίων 5', '2310987654', "
        "'6977000111', 'Μηχανικός', 'ΤΣΜΕΔΕ', NULL)"));
}

void addExpenses(const TestDatabase& db) {
    db.exec(QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) VALUES "
                           "('2006-01-15', 100, 23, 'Ενοίκιο Ιανουαρίου'), "
                           "('2006-03-02', 40.5, 9.32, 'Ρεύμα'), "
                           "('2007-01-20', 12, 0, 'Καφέδες')"));
}

// A part in a few words: its kind and what it holds ("*" marks a bold cell, "h:" a header
// row, "/" the memo's continuation line).
QString described(const ReportHtml::Part& p) {
    using Kind = ReportHtml::Part::Kind;
    bool bold = false;
    if (p.kind == Kind::Memo)
        return QStringLiteral("memo:%1/%2").arg(p.memo, p.continued);
    if (p.kind != Kind::List) {
        const QString body = p.html.mid(p.html.indexOf(QStringLiteral("<body>")) + 6);
        return (p.kind == Kind::Keep ? QStringLiteral("keep:") : QStringLiteral("rich:")) +
               ReportHtml::cellText(body, &bold).trimmed();
    }
    QStringList widths, rows;
    for (double w : p.list.widths)
        widths << QString::number(qRound(w * 100));
    auto row = [](const std::vector<ReportLayout::ListCell>& cells) {
        QStringList out;
        for (const ReportLayout::ListCell& c : cells)
            out << (c.bold ? QStringLiteral("*") : QString()) + c.text;
        return out.join(u',');
    };
    for (const auto& r : p.list.header)
        rows << QStringLiteral("h:") + row(r);
    for (const auto& r : p.list.rows)
        rows << row(r);
    return QStringLiteral("list[%1]:%2").arg(widths.join(u','), rows.join(u'|'));
}

} // namespace

// The report engine and the shipped report files, written through the automation folder.
class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Clock::setFixedForTesting(QDate(2024, 5, 17));
    }
    void cleanup() { ScreenFixture::end(); }

    void shippedFilesShowTheirData_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("connections"); // name, statement, name, statement...
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");

        const QStringList everyCustomer = {
            QStringLiteral("Παπαδοπούλου"), QStringLiteral("Μαρία"),
            QStringLiteral("ΘΗΛΥ"),         QStringLiteral("3/7/1985"),
            QStringLiteral("Ερμού 12"),     QStringLiteral("2101234567"),
            QStringLiteral("6944123456"),   QStringLiteral("Λογίστρια"),
            QStringLiteral("ΕΦΚΑ"),         QStringLiteral("Αλεξίου"),
            QStringLiteral("Νίκος"),        QStringLiteral("ΑΡΡΕΝ"),
            QStringLiteral("25/12/1990"),   QStringLiteral("Πατησίων 5"),
            QStringLiteral("2310987654"),   QStringLiteral("6977000111"),
            QStringLiteral("Μηχανικός"),    QStringLiteral("ΤΣΜΕΔΕ")};
        const QStringList headings = {QStringLiteral("Επώνυμο"),   QStringLiteral("Όνομα"),
                                      QStringLiteral("Φύλο"),      QStringLiteral("Τηλέφωνο 1"),
                                      QStringLiteral("Διεύθυνση"), QStringLiteral("Ταμείο")};
        const QString c7 = QStringLiteral("RvDataSetConnection7");

        QTest::newRow("LIST, every customer")
            << "LIST.RAV" << QStringList{c7, kCustomerList}
            << (QStringList{QStringLiteral("Λίστα πελατών"), QStringLiteral("Πελάτες: 2"),
                            QStringLiteral("17/5/2024")} +
                headings + everyCustomer)
            << QStringList{};
        QTest::newRow("STOIXEIA, every customer")
            << "STOIXEIA.RAV" << QStringList{c7, kDataList}
            << (QStringList{QStringLiteral("Στοιχεία πελατών")} + headings + everyCustomer)
            << QStringList{};
        QTest::newRow("STOIXEIA, the selected customer")
            << "STOIXEIA.RAV" << QStringList{c7, kDataList + QStringLiteral(" WHERE ID=2")}
            << QStringList{QStringLiteral("Αλεξίου"), QStringLiteral("Πελάτες: 1")}
            << QStringList{QStringLiteral("Παπαδοπούλου")};
        QTest::newRow("ISTORIKO, every customer")
            << "ISTORIKO.RAV" << QStringList{c7, kHistoryList}
            << (QStringList{
                    QStringLiteral("Ιστορικό πελατών"), QStringLiteral("Καθαρισμός προσώπου"),
                    QStringLiteral("Αλλεργία στο λάτεξ"), QStringLiteral("Δεν υπάρχει ιστορικό.")} +
                everyCustomer)
            << QStringList{};
        QTest::newRow("EKSODA1, March 2006")
            << "EKSODA1.RAV"
            << QStringList{QStringLiteral("RvDataSetConnection3"),
                           QStringLiteral(
                               "SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
                               "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') "
                               "AS VAT, Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, "
                               "EKSODA.PERIGRAFH FROM EKSODA WHERE EKSODA.HMEROMHNIA Between "
                               "#1/1/2006# AND #3/31/2006# ORDER BY EKSODA.HMEROMHNIA ASC"),
                           QStringLiteral("RvDataSetConnection4"),
                           QStringLiteral(
                               "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                               "Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                               "Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM "
                               "EKSODA WHERE EKSODA.HMEROMHNIA Between #1/1/2006# AND "
                               "#3/31/2006#")}
            << QStringList{QStringLiteral("Αναλυτική κατάσταση"),
                           QStringLiteral("Περιγραφή"),
                           QStringLiteral("Φ.Π.Α (EUR)"),
                           QStringLiteral("15/01/2006"),
                           QStringLiteral("Ενοίκιο Ιανουαρίου"),
                           QStringLiteral("100,00"),
                           QStringLiteral("23,00"),
                           QStringLiteral("123,00"),
                           QStringLiteral("02/03/2006"),
                           QStringLiteral("Ρεύμα"),
                           QStringLiteral("40,50"),
                           QStringLiteral("9,32"),
                           QStringLiteral("49,82"),
                           QStringLiteral("Ολικά ποσά"),
                           QStringLiteral("140,50"),
                           QStringLiteral("32,32"),
                           QStringLiteral("172,82")}
            << QStringList{QStringLiteral("Καφέδες")};
        QTest::newRow("EKSODA1, a period without expenses")
            << "EKSODA1.RAV"
            << QStringList{QStringLiteral("RvDataSetConnection3"),
                           QStringLiteral("SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS "
                                          "HMEROMHNIA, EKSODA.PERIGRAFH FROM EKSODA WHERE 0"),
                           QStringLiteral("RvDataSetConnection4"),
                           QStringLiteral("SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                                          "Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                                          "Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS "
                                          "SYNOLO FROM EKSODA WHERE 0")}
            << QStringList{QStringLiteral("Δεν βρέθηκαν έξοδα"), QStringLiteral("0,00")}
            << QStringList{QStringLiteral("Ρεύμα")};
        QTest::newRow("EKSODA2, 2006 to 2007")
            << "EKSODA2.RAV"
            << QStringList{QStringLiteral("RvDataSetConnection5"),
                           QStringLiteral(
                               "SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], "
                               "YEAR(EKSODA.HMEROMHNIA) AS "
                               "[YEAR], Format(SUM(EKSODA.POSO),'0.00') AS "
                               "AKSIA,Format(SUM(EKSODA.VAT),"
                               "'0.00') AS VAT, Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS "
                               "SYNOLO FROM "
                               "EKSODA WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN 2006 AND 2007 GROUP "
                               "BY "
                               "MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  ORDER BY "
                               "YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC"),
                           QStringLiteral("RvDataSetConnection6"),
                           QStringLiteral(
                               "SELECT Format(SUM(EKSODA.POSO),'0.00') AS "
                               "AKSIA,Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                               "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM "
                               "EKSODA WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN 2006 AND 2007")}
            << QStringList{QStringLiteral("Κατά μήνα"),
                           QStringLiteral("Μήνας"),
                           QStringLiteral("Έτος"),
                           QStringLiteral("1 Ιανουάριος 2006 100,00 23,00 123,00"),
                           QStringLiteral("3 Μάρτιος 2006 40,50 9,32 49,82"),
                           QStringLiteral("1 Ιανουάριος 2007 12,00 0,00 12,00"),
                           QStringLiteral("152,50"),
                           QStringLiteral("32,32"),
                           QStringLiteral("184,82")}
            << QStringList{};
        QTest::newRow("NOTES, every note")
            << "NOTES.RAV"
            << QStringList{QStringLiteral("RvDataSetConnection2"),
                           QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY "
                                          "TITLOS ASC")}
            << QStringList{QStringLiteral("Σημειώσεις"),     QStringLiteral("Παραγγελίες"),
                           QStringLiteral("Κρέμες χεριών"),  QStringLiteral("Βερνίκια"),
                           QStringLiteral("Ταμείο Ιουνίου"), QStringLiteral("Να κλείσει & <b>")}
            << QStringList{};
        QTest::newRow("NOTES, the selected note")
            << "NOTES.RAV"
            << QStringList{QStringLiteral("RvDataSetConnection2"),
                           QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=2")}
            << QStringList{QStringLiteral("Ταμείο Ιουνίου")}
            << QStringList{QStringLiteral("Παραγγελίες")};
    }
    void shippedFilesShowTheirData() {
        QFETCH(QString, file);
        QFETCH(QStringList, connections);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);

        TestDatabase db;
        copyShippedReports(db.dir());
        addCustomers(db);
        addExpenses(db);
        db.exec(QStringLiteral("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES "
                               "('Παραγγελίες', 'Κρέμες χεριών\nΒερνίκια'), "
                               "('Ταμείο Ιουνίου', 'Να κλείσει & <b>')"));
        PdfFolder out;
        ReportOwner owner;
        for (int i = 0; i + 1 < connections.size(); i += 2)
            owner.bind(connections.at(i), connections.at(i + 1));
        MV_VERIFY_NOTHROW(owner.run(file));

        const QString pdf = QFileInfo(file).completeBaseName() + QStringLiteral(".pdf");
        QCOMPARE(out.files(), QStringList{pdf});
        const QString text = flattened(pdfText(out.file(pdf), {QStringLiteral("-layout")}));
        const QString fault = textFault(text, present, absent);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(text.contains(QStringLiteral("Σελίδα 1 από 1")));
    }

    // The engine's own reader of list tables, cards and memos (Qt's reader drops their
    // class names, and reads a list of 10,000 rows 15 times slower).
    void htmlIsCutIntoParts_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("entities in a list")
            << "<table class=\"list\"><tr><th>A &amp; B</th></tr><tr><td>x&lt;y&nbsp;z "
               "&#913;&#x3A9; &bogus;</td></tr></table>"
            << QStringList{QStringLiteral("list[100]:h:*A & B|x<y\u00a0z ΑΩ &bogus;")};
        QTest::newRow("bold, line breaks and widths in a list")
            << "<TABLE CLASS='other List'><tr><th width=\"50%\">a</th><th>b</th><th>c</th></tr>"
               "<tr><td><b>B</b>  x <br/>y</td><td align=right>2</td></tr></TABLE>"
            << QStringList{QStringLiteral("list[50,25,25]:h:*a,*b,*c|*B x\ny,2")};
        QTest::newRow("nested divs in a card")
            << "<h1>T</h1><div class=\"keep\"><div>a<div>b</div></div>c</div><p>after</p>"
            << QStringList{QStringLiteral("rich:T"), QStringLiteral("keep:abc"),
                           QStringLiteral("rich:after")};
        QTest::newRow("memo with tabs, blanks and the template's line breaks")
            << "<div class=\"memo\" data-continued=\"X &amp; Y\">a\tb  c<br>d\n  e&lt;</div>"
            << QStringList{QStringLiteral("memo:a\tb  c\nde</X & Y")};
        QTest::newRow("blank text between parts is no part")
            << "<div class=\"keep\">k</div>\n <div class=\"memo\">m</div> <div class=\"memo\"> "
               "</div>"
            << QStringList{QStringLiteral("keep:k"), QStringLiteral("memo:m/")};
        QTest::newRow("a div and a table of no class stay rich")
            << "<div>x</div><table><tr><td>y</td></tr></table><div class=\"keeps\">z</div>"
            << QStringList{QStringLiteral("rich:xyz")};
        QTest::newRow("a memo never closed runs to the end")
            << "<div class=\"memo\">m<br>n" << QStringList{QStringLiteral("memo:m\nn/")};
    }
    void htmlIsCutIntoParts() {
        QFETCH(QString, html);
        QFETCH(QStringList, parts);
        QStringList found;
        for (const ReportHtml::Part& p :
             ReportHtml::parts(QStringLiteral("<html><body>") + html + QStringLiteral("</body>")))
            found << described(p);
        QCOMPARE(found, parts);
    }

    // A history of several lines keeps them, one under the other, in their order.
    void memoKeepsItsLines() {
        TestDatabase db;
        copyShippedReports(db.dir());
        addCustomers(db);
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection7"),
                   kHistoryList + QStringLiteral(" WHERE ID=1"));
        owner.run(QStringLiteral("ISTORIKO.RAV"));
        const QStringList lines =
            pdfText(out.file(QStringLiteral("ISTORIKO.pdf"))).split(u'\n', Qt::SkipEmptyParts);
        const qsizetype first = lines.indexOf(QStringLiteral("Καθαρισμός προσώπου"));
        QVERIFY2(first >= 0, qPrintable(lines.join(u'|')));
        QCOMPARE(lines.value(first + 1), QStringLiteral("Μάσκα υδάτωσης"));
        QCOMPARE(lines.value(first + 2), QStringLiteral("Αλλεργία στο λάτεξ"));
    }

    void missingFileGivesTheEngineError_data() {
        QTest::addColumn<QString>("file");
        for (const char* f : {"NOTES.RAV", "LIST.RAV", "APODEIKSEISVAT.RAV"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void missingFileGivesTheEngineError() {
        QFETCH(QString, file);
        TestDatabase db; // no report files beside it
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection2"),
                   QStringLiteral("SELECT * FROM SHMEIWSEIS"));
        try {
            owner.run(file);
            QFAIL("no error");
        } catch (const std::exception& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("The following reporting project does not exist:\r\"") +
                         db.dir() + QStringLiteral("/") + file + QStringLiteral("\""));
        }
        QVERIFY(out.files().isEmpty());
    }

    // Repeated runs are kept side by side, numbered.
    void repeatedReportsAreNumbered() {
        TestDatabase db;
        copyShippedReports(db.dir());
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection2"),
                   QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS"));
        for (int i = 0; i < 3; ++i)
            owner.run(QStringLiteral("NOTES.RAV"));
        QCOMPARE(out.files(),
                 (QStringList{QStringLiteral("NOTES-2.pdf"), QStringLiteral("NOTES-3.pdf"),
                              QStringLiteral("NOTES.pdf")}));
    }

    // A closed data object is opened by the engine; an open one is read where it stands.
    void closedDataIsOpenedAndCurrentRowKept() {
        TestDatabase db;
        copyShippedReports(db.dir());
        addCustomers(db);
        PdfFolder out;
        ReportOwner owner;
        Query* q = owner.bind(QStringLiteral("RvDataSetConnection7"), kCustomerList);
        QVERIFY(!q->isActive());
        owner.run(QStringLiteral("LIST.RAV"));
        QVERIFY(q->isActive());
        q->last();
        owner.run(QStringLiteral("LIST.RAV"));
        QCOMPARE(q->currentRow(), 1);
        QCOMPARE(out.files().size(), 2);
    }

    // Values cannot become markup, whatever braces surround them, and memo breaks stay.
    void valuesAreEscaped_data() {
        QTest::addColumn<QString>("tmpl");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double braces") << "{{#C}}[{{V}}]{{/C}}"
                                       << "[a &lt;b&gt; &amp; &quot;c&quot;<br>d]";
        QTest::newRow("triple braces") << "{{#C}}[{{{V}}}]{{/C}}"
                                       << "[a &lt;b&gt; &amp; &quot;c&quot;<br>d]";
        QTest::newRow("empty is false") << "{{#C}}{{#E}}yes{{/E}}{{^E}}no{{/E}}{{/C}}"
                                        << "nono";
        QTest::newRow("row numbers and count") << "{{#C}}{{RecNo}};{{/C}}{{RecordCount.C}}"
                                               << "1;2;2";
        QTest::newRow("outer data inside a section") << "{{#C}}{{#D}}{{W}}{{/D}}{{/C}}"
                                                     << "ww";
        QTest::newRow("print date") << "{{PrintDate}}"
                                    << "7/3/2024";
    }
    void valuesAreEscaped() {
        QFETCH(QString, tmpl);
        QFETCH(QString, expected);
        ReportTable c{
            QStringLiteral("C"),
            {QStringLiteral("V"), QStringLiteral("E")},
            {{QStringLiteral("a <b> & \"c\"\r\nd"), QString()}, {QStringLiteral("x"), QString()}}};
        ReportTable d{QStringLiteral("D"), {QStringLiteral("W")}, {{QStringLiteral("w")}}};
        const QString html = ReportTemplate(tmpl).render({c, d}, QDate(2024, 3, 7));
        if (QTest::currentDataTag() == QByteArray("double braces") ||
            QTest::currentDataTag() == QByteArray("triple braces"))
            QVERIFY2(html.startsWith(expected), qPrintable(html));
        else
            QCOMPARE(html, expected);
    }

    // A report file saved by another editor still reads as Greek.
    void fileEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("<p>Κέντρο Αισθητικής</p>");
        QTest::newRow("UTF-8") << text.toUtf8();
        QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QStringEncoder greek("windows-1253");
        if (greek.isValid())
            QTest::newRow("Greek Windows code page") << QByteArray(greek.encode(text));
    }
    void fileEncodings() {
        QFETCH(QByteArray, bytes);
        TestDatabase db;
        QFile f(db.dir() + QStringLiteral("/TEXT.RAV"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        PdfFolder out;
        ReportOwner owner;
        owner.run(QStringLiteral("TEXT.RAV"));
        const QString text = pdfText(out.file(QStringLiteral("TEXT.pdf")));
        QVERIFY2(text.startsWith(QStringLiteral("Κέντρο Αισθητικής")), qPrintable(text));
    }

    void brokenTemplateIsAnError() {
        TestDatabase db;
        QFile f(db.dir() + QStringLiteral("/BAD.RAV"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<p>{{#RvDataSetConnection2}}no end</p>");
        f.close();
        PdfFolder out;
        ReportOwner owner;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, owner.run(QStringLiteral("BAD.RAV")));
        QVERIFY(out.files().isEmpty());
    }

    // A long list runs over pages: every page has its number and the column headings,
    // and no customer is lost or printed twice.
    void longListRepeatsItsHeadings() {
        TestDatabase db;
        copyShippedReports(db.dir());
        QStringList values;
        for (int i = 1; i <= 120; ++i)
            values << QStringLiteral("('Όνομα%1', 'Επώνυμο%2', 'ΘΗΛΥ')")
                          .arg(i)
                          .arg(i, 3, 10, QLatin1Char('0'));
        db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO) VALUES ") +
                values.join(u','));
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection7"), kCustomerList);
        owner.run(QStringLiteral("LIST.RAV"));
        const QString text = pdfText(out.file(QStringLiteral("LIST.pdf")));
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        const int count = pdfPageCount(text);
        QVERIFY2(count >= 3, qPrintable(QString::number(count)));
        for (int p = 0; p < count; ++p) {
            const QString page = flattened(pages.value(p));
            QVERIFY2(page.contains(QStringLiteral("Σελίδα %1 από %2").arg(p + 1).arg(count)),
                     qPrintable(page));
            QVERIFY2(page.contains(QStringLiteral("Επώνυμο Όνομα Φύλο")), qPrintable(page));
        }
        for (int i = 1; i <= 120; ++i)
            QCOMPARE(text.count(QStringLiteral("Επώνυμο%1").arg(i, 3, 10, QLatin1Char('0'))), 1);
    }

    // Greek comes out as text in a font carried inside the PDF, so any reader shows it.
    void greekTextIsInAnEmbeddedFont() {
        TestDatabase db;
        copyShippedReports(db.dir());
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection2"),
                   QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS"));
        owner.run(QStringLiteral("NOTES.RAV"));
        QProcess p;
        p.start(QStringLiteral("pdffonts"), {out.file(QStringLiteral("NOTES.pdf"))});
        QVERIFY(p.waitForFinished(60000));
        const QStringList rows =
            QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!rows.isEmpty());
        for (const QString& row : rows) {
            const QStringList cols = row.split(u' ', Qt::SkipEmptyParts);
            // name, type..., encoding, emb, sub, uni, object, id
            QVERIFY2(cols.size() >= 6 && cols.at(cols.size() - 5) == u"yes", qPrintable(row));
        }
        QVERIFY(flattened(pdfText(out.file(QStringLiteral("NOTES.pdf"))))
                    .contains(QStringLiteral("Δεν υπάρχουν σημειώσεις.")));
    }

    // A note's title never stays alone at the foot of a page.
    void titlesStayWithTheirText() {
        TestDatabase db;
        copyShippedReports(db.dir());
        QStringList values;
        // Notes of one to seven lines, so that some page ends right after a title.
        for (int i = 10; i < 70; ++i)
            values << QStringLiteral("('Σημείωση %1', '%2Δεύτερη γραμμή %1')")
                          .arg(i)
                          .arg(QStringLiteral("Γραμμή\n").repeated(i % 7));
        db.exec(QStringLiteral("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ") +
                values.join(u','));
        PdfFolder out;
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection2"),
                   QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY TITLOS ASC"));
        owner.run(QStringLiteral("NOTES.RAV"));
        const QString text = pdfText(out.file(QStringLiteral("NOTES.pdf")));
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(pdfPageCount(text) >= 3);
        for (int i = 10; i < 70; ++i)
            QCOMPARE(text.count(QStringLiteral("Δεύτερη γραμμή %1").arg(i)), 1);
        for (const QString& page : pages) {
            QStringList lines = page.split(u'\n', Qt::SkipEmptyParts);
            while (!lines.isEmpty() && (lines.last().trimmed().isEmpty() ||
                                        lines.last().startsWith(QStringLiteral("Σελίδα"))))
                lines.removeLast();
            QVERIFY2(!lines.isEmpty() && !lines.last().startsWith(QStringLiteral("Σημείωση")),
                     qPrintable(lines.join(u'|')));
        }
    }

    // Without the automation folder the preview is shown through the modal seam, and the
    // run ends when the person closes it.
    void previewIsShownAndClosed() {
        TestDatabase db;
        copyShippedReports(db.dir());
        addCustomers(db);
        qunsetenv("MARIVELLE_REPORT_PDF_DIR");
        int pages = -1;
        QString title;
        Modal::setTestHook([&](QDialog& d) {
            auto* preview = qobject_cast<ReportPreview*>(&d);
            if (preview) {
                pages = preview->pageCount();
                title = preview->windowTitle();
                QTemporaryDir keep;
                preview->savePdfTo(keep.filePath(QStringLiteral("copy.pdf")));
                const QString text = flattened(pdfText(keep.filePath(QStringLiteral("copy.pdf"))));
                if (!text.contains(QStringLiteral("Παπαδοπούλου")))
                    pages = -2;
            }
            d.reject();
            return int(QDialog::Rejected);
        });
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection7"), kDataList);
        MV_VERIFY_NOTHROW(owner.run(QStringLiteral("STOIXEIA.RAV")));
        QCOMPARE(pages, 1);
        QCOMPARE(title, QStringLiteral("Προεπισκόπηση εκτύπωσης - STOIXEIA"));
    }

    // The preview turns pages and zooms from its tool bar.
    void previewTurnsPages() {
        TestDatabase db;
        copyShippedReports(db.dir());
        QStringList values;
        for (int i = 1; i <= 120; ++i)
            values << QStringLiteral("('Όνομα%1', 'Επώνυμο%1')").arg(i);
        db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO) VALUES ") +
                values.join(u','));
        qunsetenv("MARIVELLE_REPORT_PDF_DIR");
        QList<int> seen;
        Modal::setTestHook([&](QDialog& d) {
            auto* view = d.findChild<QPrintPreviewWidget*>(QStringLiteral("PreviewWidget"));
            auto trigger = [&](const char* name) {
                if (auto* a = d.findChild<QAction*>(QString::fromLatin1(name)))
                    a->trigger();
            };
            if (!view)
                return int(QDialog::Rejected);
            seen << view->pageCount() << view->currentPage();
            trigger("NextPage");
            seen << view->currentPage();
            trigger("LastPage");
            seen << view->currentPage();
            const qreal zoom = view->zoomFactor();
            trigger("ZoomIn");
            seen << (view->zoomFactor() > zoom ? 1 : 0);
            trigger("Close");
            seen << (d.isVisible() ? 1 : 0);
            return int(QDialog::Rejected);
        });
        ReportOwner owner;
        owner.bind(QStringLiteral("RvDataSetConnection7"), kCustomerList);
        MV_VERIFY_NOTHROW(owner.run(QStringLiteral("LIST.RAV")));
        QCOMPARE(seen.size(), 6);
        const int pages = seen.at(0);
        QVERIFY(pages >= 3);
        QCOMPARE(seen.mid(1), (QList<int>{1, 2, pages, 1, 0}));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
