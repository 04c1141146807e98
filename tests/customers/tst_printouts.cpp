#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "app/LongLivedScreens.h"
#include "customers/Unit17.h"
#include "customers/Unit18.h"
#include "customers/Unit22.h"
#include "ui/LongLived.h"

#include <QPushButton>

namespace {

const QString kData = QStringLiteral(
    "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ");
const QString kHistory = QStringLiteral(
    "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO, ISTORIKO FROM STOIXEIA_PELATH ");
const QString kList = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH");

// A search (as Desk::search takes it), the printout's button, the one statement it runs, and
// what its PDF holds and leaves out.
struct Printout {
    QString search, button, statement, printed, left; // pieces separated by '|'
};

QString pdfOf(const QString& b) {
    return b == u"Button10"                     ? "LIST.pdf"
           : b == u"Button1" || b == u"Button2" ? "STOIXEIA.pdf"
                                                : "ISTORIKO.pdf";
}

// The screens as program entry makes them over a fresh data file with the shipped report
// files; a search shows the catalogue, whose "Ε&κτυπώσεις" opens the printouts, where
// `buttons` are pressed in turn before "Έξοδος".
struct Desk : ScreenFixture {
    PdfFolder out;
    LongLivedScreens screens;
    TForm22* printouts = LongLived::find<TForm22>();
    QStringList buttons;
    QStringList statements; // each statement the printouts ran
    bool closedAfterEach = true;

    explicit Desk(const QStringList& pressed = {}) : buttons(pressed) {
        copyShippedReports(db.dir());
        QObject::connect(printouts->ADOQuery1, &DataSet::afterOpen, printouts,
                         [this] { statements << printouts->ADOQuery1->sqlText(); });
        Modal::setTestHook([this](QDialog& d) {
            if (auto* c = qobject_cast<TForm18*>(&d))
                child<QPushButton>(*c, "Button5")->click();
            else if (auto* p = qobject_cast<TForm22*>(&d)) {
                for (const QString& b : buttons) {
                    child<QPushButton>(*p, b)->click();
                    closedAfterEach = closedAfterEach && !p->ADOConnection1->isConnected() &&
                                      p->ADOQuery1->sqlText().isEmpty();
                }
                child<QPushButton>(*p, "Button3")->click();
            }
            return 0;
        });
    }

    // Αλεξίου (2) stands first in surname order, Παπαδοπούλου (1) first of the "Π" search.
    void addThree() const {
        db.exec(QStringLiteral(
            "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, DIEYTHYNSH, "
            "THLEFWNO_1, EPAGGELMA, TAMEIO, ISTORIKO) VALUES ('Μαρία', 'Παπαδοπούλου', 'ΘΗΛΥ', "
            "'1985-07-03', 'Ερμού 12', '2101234567', 'Λογίστρια', 'ΕΦΚΑ', 'Καθαρισμός προσώπου'), "
            "('Νίκος', 'Αλεξίου', 'ΑΡΡΕΝ', '1990-12-25', 'Πατησίων 5', '2310987654', 'Μηχανικός', "
            "'ΤΣΜΕΔΕ', 'Μανικιούρ'), ('Ελένη', 'Πετρίδου', 'ΘΗΛΥ', '1970-01-10', 'Σόλωνος 3', "
            "'2107654321', 'Γιατρός', 'ΟΑΕΕ', 'Βαφή μαλλιών')"));
    }
    // "" for all customers, "Π" for surnames so begun, or "from|to" for birth dates.
    void search(const QString& how) const {
        TForm17 form;
        const QStringList parts = how.split(u'|');
        const bool dates = parts.size() == 2;
        child<QLineEdit>(form, dates ? "Edit2" : "Edit1")->setText(parts[0]);
        child<QLineEdit>(form, "Edit3")->setText(parts.value(1));
        const char* button = dates ? "Button4" : how.isEmpty() ? "Button2" : "Button1";
        child<QPushButton>(form, button)->click();
    }
};

} // namespace

// The customer printouts, reached from the catalogue of a search.
class TestPrintouts : public QObject {
    Q_OBJECT

private slots:
    // Each printout after each kind of search: its statement to the blank, and the customers
    // its PDF holds (the first row of the catalogue is the selected one).
    void printoutsFollowTheSearch_data() {
        QTest::addColumn<Printout>("c");
        const QString sur = QStringLiteral("WHERE EPWNYMO LIKE'Π%' ORDER BY EPWNYMO ASC");
        const QString dat = QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1980# AND "
                                           "#12/31/1995# ORDER BY EPWNYMO ASC");
        const QString d80 = QStringLiteral("1/1/1980|31/12/1995");
        const QString all = "Αλεξίου|Παπαδοπούλου|Πετρίδου", p = "Παπαδοπούλου|Πετρίδου";
        const QString d = "Αλεξίου|Παπαδοπούλου";
        const auto row = [](const char* name, const Printout& c) { QTest::newRow(name) << c; };
        row("all: cards", {"", "Button1", kData, all, ""});
        row("all: histories", {"", "Button8", kHistory, all, ""});
        row("all: selected card", {"", "Button2", kData + " WHERE ID=2", "Αλεξίου", p});
        row("all: list", {"", "Button10", kList + " ORDER BY EPWNYMO ASC", all, ""});
        row("surname: cards", {"Π", "Button1", kData + sur, p, "Αλεξίου"});
        row("surname: selected history",
            {"Π", "Button9", kHistory + " WHERE ID=1", "Καθαρισμός προσώπου", "Πετρίδου"});
        row("surname: list", {"Π", "Button10", kList + " " + sur, p, "Αλεξίου"});
        row("dates: cards", {d80, "Button1", kData + dat, d, "Πετρίδου"});
        row("dates: list", {d80, "Button10", kList + dat, d, "Πετρίδου"});
    }
    void printoutsFollowTheSearch() {
        QFETCH(Printout, c);
        Desk desk({c.button});
        desk.addThree();
        desk.search(c.search);
        QCOMPARE(desk.statements, QStringList{c.statement});
        QVERIFY(desk.closedAfterEach);
        QCOMPARE(Messages::shownTexts(), QStringList());
        QCOMPARE(desk.out.files(), QStringList{pdfOf(c.button)});
        const QString fault =
            textFault(flattened(pdfText(desk.out.file(pdfOf(c.button)))), c.printed.split(u'|'),
                      c.left.split(u'|', Qt::SkipEmptyParts));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // A missing report file gives the engine's message; the screen stays usable and the
    // next printout works, with nothing left open in between.
    void missingFileLeavesTheScreenUsable() {
        Desk desk({QStringLiteral("Button8"), QStringLiteral("Button1")});
        desk.addThree();
        const QString path = desk.db.dir() + "/ISTORIKO.RAV";
        QVERIFY(QFile::remove(path));
        desk.search({});
        QCOMPARE(Messages::shownTexts(),
                 QStringList{"The following reporting project does not exist:\r\"" + path + "\""});
        QVERIFY(desk.closedAfterEach);
        QCOMPARE(desk.out.files(), QStringList{"STOIXEIA.pdf"});
    }

    // A history prints in full and exactly as stored; one longer than a page runs on with the
    // customer's name at the top of each further page; an empty one prints the card alone.
    void historyPrintsExactly_data() {
        QTest::addColumn<QString>("history"); // "NULL" for none
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<int>("pages"); // 0 for over a hundred
        const QStringList none = {"Δεν υπάρχει ιστορικό."};
        QTest::newRow("none") << QString("NULL") << none << 1;
        QTest::newRow("empty text") << QString() << none << 1;
        QTest::newRow("quotes, tabs, emoji, Greek and Latin")
            << "«Βαφή» \"Color 7.1\" 'O'Neil'\tκερί\t\tlaser & <b>όχι έντονα</b> 😊\n  δύο  κενά"
            // The emoji is drawn; the PDF's text layer, as Qt writes it, leaves it out.
            << QStringList{"«Βαφή» \"Color 7.1\" 'O'Neil'", "κερί", "laser & <b>όχι έντονα</b>",
                           "δύο κενά"}
            << 1;
        QString mb;
        for (int line = 1; mb.size() < 1024 * 1024; ++line)
            mb += QStringLiteral("Επίσκεψη %1: peeling, μάσκα\tκαι \"κρέμα\"\n")
                      .arg(line, 6, 10, QChar(u'0'));
        QTest::newRow("1 MB") << mb + "ΤΕΛΟΣ" << QStringList{"Επίσκεψη 000001:", "ΤΕΛΟΣ"} << 0;
    }
    void historyPrintsExactly() {
        QFETCH(QString, history);
        QFETCH(QStringList, printed);
        QFETCH(int, pages);
        Desk desk({QStringLiteral("Button9")});
        const QString value =
            history == u"NULL" ? history : "'" + QString(history).replace("'", "''") + "'";
        desk.db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, ISTORIKO) "
                                    "VALUES ('Άννα', 'Ιωάννου', %1)")
                         .arg(value));
        desk.search({});
        QCOMPARE(Messages::shownTexts(), QStringList());
        const QString text = pdfText(desk.out.file("ISTORIKO.pdf"));
        const QString fault = textFault(flattened(text), printed, {});
        QVERIFY2(fault.isEmpty(), qPrintable(fault.left(2000)));
        const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(pages ? pdfPageCount(text) == pages : sheets.size() > 100);
        QCOMPARE(text.count("peeling, μάσκα"), history.count("peeling, μάσκα"));
        for (qsizetype p = 1; p + 1 < sheets.size(); ++p)
            QVERIFY2(sheets[p].startsWith("Ιωάννου Άννα - ιστορικό (συνέχεια)\n"),
                     qPrintable(sheets[p].left(200)));
    }

    // Cards never split across pages, and a history begins on its card's page.
    void cardsStayWhole_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("together"); // on the page where the card ends
        QTest::newRow("cards") << QString("Button1") << QString("Πελάτης%1|Οδός %1");
        QTest::newRow("histories") << QString("Button8") << QString("Πελάτης%1|Οδός %1|Αρχή%1");
    }
    void cardsStayWhole() {
        QFETCH(QString, button);
        QFETCH(QString, together);
        Desk desk({button});
        for (int i = 10; i < 70; ++i)
            desk.db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (EPWNYMO, DIEYTHYNSH, TAMEIO, "
                                        "ISTORIKO) VALUES ('Πελάτης%1', 'Οδός %1', 'Ταμείο%1', "
                                        "'Αρχή%1\n%2Τέλος')")
                             .arg(i)
                             .arg(QStringLiteral("Γραμμή\n").repeated(i % 9)));
        desk.search({});
        const QStringList sheets =
            pdfText(desk.out.file(pdfOf(button))).split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(sheets.size() >= 3);
        for (int i = 10; i < 70; ++i) {
            const QStringList on = sheets.filter(QStringLiteral("Ταμείο%1").arg(i));
            QCOMPARE(on.size(), 1);
            for (const QString& piece : together.split(u'|'))
                QVERIFY2(on[0].contains(piece.arg(i)), qPrintable(piece.arg(i)));
        }
    }
};

QTEST_MAIN(TestPrintouts)
#include "tst_printouts.moc"
