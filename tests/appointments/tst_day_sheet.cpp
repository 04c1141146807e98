#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "appointments/Unit2a.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

// A day's page as the calendar opens it, over a file holding the day's row.
struct DayPage : ScreenFixture {
    PdfFolder out;
    TForm2a day;

    explicit DayPage(const QStringList& texts = {}) {
        Clock::setFixedForTesting(QDate(2026, 3, 15));
        copyShippedReports(db.dir());
        QStringList columns{QStringLiteral("HMEROMHNIA")};
        QStringList values{QStringLiteral("'2024-03-05'")};
        for (int k = 1; k <= texts.size(); ++k) {
            if (texts[k - 1].isNull())
                continue;
            columns << u'[' + TForm2a::slotColumn(k) + u']';
            values << Global::QuotedText(texts[k - 1]);
        }
        db.exec(QStringLiteral("INSERT INTO RANTEBOU(%1) VALUES(%2)")
                    .arg(columns.join(u','), values.join(u',')));
        day.Label83->setText(QStringLiteral("5/3/2024"));
        day.ADOConnection1->setUp(Global::ConnectionString);
        day.ADOQuery1->addSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2024#"));
        day.ADOQuery1->open();
    }
    void print() { child<QPushButton>(day, "Button30")->click(); }
    QString sheet() const {
        return pdfText(out.file(QStringLiteral("HMERA.pdf")), {QStringLiteral("-layout")});
    }
};

// A slot's text of a hundred characters, the column's width, as a desk writes it.
QString fullSlot(int k) {
    return QStringLiteral("Πελάτισσα %1 Παπαδοπούλου-Νικολάου, βαφή ρίζας, λούσιμο, χτένισμα, "
                          "τηλ. 6944123456 ")
        .arg(k, 2, 10, QLatin1Char('0'))
        .left(100);
}

} // namespace

// The day sheet: one A4 page of the day's 28 slots, the free ones as lines to write in.
class TestDaySheet : public QObject {
    Q_OBJECT

private slots:
    void onePageOfTheDay_data() {
        QTest::addColumn<QStringList>("texts"); // a null entry: the slot stays empty
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("booked");
        const QStringList times = {"08:00 - 08:30", "12:30 - 13:00", "21:30 - 22:00"};
        QTest::newRow("an empty day")
            << QStringList{} << times << QStringList{"Πελάτισσα"} << QStringLiteral("0");
        QStringList some(28);
        some[0] = QStringLiteral("Ελένη Νικολάου & <b>κόρη</b>");
        some[27] = QStringLiteral("Ζωή Ντ'Αμίκο");
        some[9] = QStringLiteral("   ");
        QTest::newRow("a few slots, one blank")
            << some << (times + QStringList{"Ελένη Νικολάου & <b>κόρη</b>", "Ζωή Ντ'Αμίκο"})
            << QStringList{} << QStringLiteral("2");
        QStringList full;
        for (int k = 1; k <= 28; ++k)
            full << fullSlot(k);
        QTest::newRow("every slot full to its width")
            << full
            << (times + QStringList{"Πελάτισσα 01 Παπαδοπούλου", "Πελάτισσα 28 Παπαδοπούλου"})
            << QStringList{} << QStringLiteral("28");
    }
    void onePageOfTheDay() {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(QString, booked);
        DayPage page(texts);
        QVERIFY(showActive(page.day));
        page.print();
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(page.out.files(), QStringList{"HMERA.pdf"});
        const QString text = page.sheet();
        QCOMPARE(pdfPageCount(text), 1);
        const QString fault = textFault(
            flattened(text),
            present + QStringList{"Ραντεβού: Τρίτη 5/3/2024",
                                  QStringLiteral("Κλεισμένα μισάωρα: %1 από 28").arg(booked)},
            absent);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // Every slot has its line, in time order.
        qsizetype at = 0;
        for (int k = 1; k <= TForm2a::kSlots; ++k) {
            at = text.indexOf(TForm2a::slotCaption(k), at);
            QVERIFY2(at >= 0, qPrintable(TForm2a::slotCaption(k)));
        }
        // Printing neither changes the day nor leaves its sheet's rows open.
        QVERIFY(!page.day.ADOQuery2->isActive());
        QVERIFY(page.day.ADOQuery1->isActive());
    }

    // A slot typed but not posted: saved first if the person says so, else the sheet shows
    // what is stored and the typing stays on screen.
    void unpostedSlotAsked_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes: posted and printed") << true;
        QTest::newRow("No: stored text printed, typing kept") << false;
    }
    void unpostedSlotAsked() {
        QFETCH(bool, yes);
        QStringList texts(28);
        texts[2] = QStringLiteral("Άννα Ιωάννου");
        DayPage page(texts);
        QVERIFY(showActive(page.day));
        auto* slot = child<DBEdit>(page.day, "DBEdit3");
        slot->setFocus();
        slot->selectAll();
        typeText(slot, QStringLiteral("Ρένα Αλεξίου"));
        Messages::setNextAnswers({yes});
        page.print();
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().kind, Messages::Kind::Question);
        const QString stored =
            page.db.scalar("SELECT [0900-0930] FROM RANTEBOU WHERE HMEROMHNIA='2024-03-05'");
        const QString text = flattened(page.sheet());
        QCOMPARE(stored, yes ? QStringLiteral("Ρένα Αλεξίου") : QStringLiteral("Άννα Ιωάννου"));
        QVERIFY2(text.contains(stored), qPrintable(text));
        QCOMPARE(slot->text(), QStringLiteral("Ρένα Αλεξίου"));
        QCOMPARE(page.day.ADOQuery1->isEditing(), !yes);
    }

    void missingReportFileSaysSo() {
        DayPage page;
        QFile::remove(page.db.dir() + QStringLiteral("/HMERA.RAV"));
        QVERIFY(showActive(page.day));
        page.print();
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shownTexts().constFirst().contains(
            QStringLiteral("The following reporting project does not exist:")));
        QVERIFY(page.out.files().isEmpty());
        QVERIFY(page.day.ADOQuery1->isActive());
    }
};

QTEST_MAIN(TestDaySheet)
#include "tst_day_sheet.moc"
