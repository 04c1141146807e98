#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "app/LongLivedScreens.h"
#include "customers/Unit17.h"
#include "customers/Unit18.h"
#include "customers/Unit22.h"
#include "ui/LongLived.h"

#include <QAction>
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

// The screens as program entry makes them over a fresh data file with the shipped report
// files; a search shows the catalogue, whose "Ε&κτυπώσεις" (or its menu twin) opens the
// printouts, where `buttons` are pressed in turn before "Έξοδος".
struct Desk {
    TestDatabase db;
    PdfFolder out;
    LongLivedScreens screens;
    TForm22* printouts = LongLived::find<TForm22>();
    QStringList buttons;
    QString opener = QStringLiteral("Button5");
    QStringList statements; // each statement the printouts ran
    bool closedAfterEach = true;

    Desk() {
        scriptMessages();
        copyShippedReports(db.dir());
        QObject::connect(printouts->ADOQuery1, &DataSet::afterOpen, printouts,
                         [this] { statements << printouts->ADOQuery1->sqlText(); });
        Modal::setTestHook([this](QDialog& d) {
            if (auto* c = qobject_cast<TForm18*>(&d)) {
                if (auto* b = c->findChild<QPushButton*>(opener))
                    b->click();
                else
                    child<QAction>(*c, opener)->trigger();
            } else if (auto* p = qobject_cast<TForm22*>(&d)) {
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
    ~Desk() { Modal::setTestHook({}); }

    // "all", "Π" (a surname), or "from|to" (birth dates).
    void search(const QString& how) {
        TForm17 form;
        const QStringList dates = how.split(u'|');
        if (how == u"all") {
            child<QPushButton>(form, "Button2")->click();
        } else if (dates.size() == 2) {
            child<QLineEdit>(form, "Edit2")->setText(dates[0]);
            child<QLineEdit>(form, "Edit3")->setText(dates[1]);
            child<QPushButton>(form, "Button4")->click();
        } else {
            child<QLineEdit>(form, "Edit1")->setText(how);
            child<QPushButton>(form, "Button1")->click();
        }
    }
    QString pdf(const QString& name) const { return flattened(pdfText(out.file(name))); }
};

// Αλεξίου (2) stands first in surname order, Παπαδοπούλου (1) first of the "Π" search.
void addThree(const TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, DIEYTHYNSH, "
        "THLEFWNO_1, EPAGGELMA, TAMEIO, ISTORIKO) VALUES "
        "('Μαρία', 'Παπαδοπούλου', 'ΘΗΛΥ', '1985-07-03', 'Ερμού 12', '2101234567', 'Λογίστρια', "
        "'ΕΦΚΑ', 'Καθαρισμός προσώπου'), "
        "('Νίκος', 'Αλεξίου', 'ΑΡΡΕΝ', '1990-12-25', 'Πατησίων 5', '2310987654', 'Μηχανικός', "
        "'ΤΣΜΕΔΕ', 'Μανικιούρ'), "
        "('Ελένη', 'Πετρίδου', 'ΘΗΛΥ', '1970-01-10', 'Σόλωνος 3', '2107654321', 'Γιατρός', "
        "'ΟΑΕΕ', 'Βαφή μαλλιών')"));
}

} // namespace

// The customer printouts, reached from the catalogue of a search.
class TestPrintouts : public QObject {
    Q_OBJECT

private slots:
    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("22", "", QStringLiteral("Εκτύπωση"));
        addCaption("22", "Button9", QStringLiteral("Εκτύπωση του επιλεγμένου"));
        addCaption("22", "Button10", QStringLiteral("Εκτύπωση της λίστας των πελατών"));
        addCaption("22", "Button3", QStringLiteral("Έξοδος")); // no accelerator
    }
    void captionsAreExact() {
        QFETCH(QString, object);
        QFETCH(QString, text);
        Desk desk;
        QCOMPARE(captionOf(*desk.printouts, object), text);
        QCOMPARE(desk.printouts->cancelButton()->objectName(), QStringLiteral("Button3"));
    }

    // Each printout after each kind of search: its statement to the blank, and the customers
    // its PDF holds (the first row of the catalogue is the selected one).
    void printoutsFollowTheSearch_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("left");
        const QString surname = QStringLiteral("WHERE EPWNYMO LIKE'Π%' ORDER BY EPWNYMO ASC");
        const QString dates = QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1980# AND "
                                             "#12/31/1995# ORDER BY EPWNYMO ASC");
        const QStringList all = {"Αλεξίου", "Παπαδοπούλου", "Πετρίδου"};
        const QStringList p = {"Παπαδοπούλου", "Πετρίδου"};
        const QStringList d = {"Αλεξίου", "Παπαδοπούλου"};
        auto row = [](const char* name, const char* search, const char* button,
                      const QString& statement, const QStringList& printed,
                      const QStringList& left) {
            QTest::newRow(name) << search << button << statement << printed << left;
        };
        row("all: cards", "all", "Button1", kData, all, {});
        row("all: selected card", "all", "Button2", kData + " WHERE ID=2", {"Αλεξίου"}, p);
        row("all: histories", "all", "Button8", kHistory, all, {});
        row("all: selected history", "all", "Button9", kHistory + " WHERE ID=2", {"Μανικιούρ"},
            {"Παπαδοπούλου", "Καθαρισμός", "Βαφή"});
        row("all: list", "all", "Button10", kList + " ORDER BY EPWNYMO ASC", all, {});
        row("surname: cards", "Π", "Button1", kData + surname, p, {"Αλεξίου"});
        row("surname: selected card", "Π", "Button2", kData + " WHERE ID=1", {"Παπαδοπούλου"},
            {"Αλεξίου", "Πετρίδου"});
        row("surname: histories", "Π", "Button8", kHistory + surname,
            {"Καθαρισμός προσώπου", "Βαφή μαλλιών"}, {"Μανικιούρ"});
        row("surname: selected history", "Π", "Button9", kHistory + " WHERE ID=1",
            {"Καθαρισμός προσώπου"}, {"Πετρίδου"});
        row("surname: list", "Π", "Button10", kList + " " + surname, p, {"Αλεξίου"});
        row("dates: cards", "1/1/1980|31/12/1995", "Button1", kData + dates, d, {"Πετρίδου"});
        row("dates: selected card", "1/1/1980|31/12/1995", "Button2", kData + " WHERE ID=2",
            {"Αλεξίου"}, {"Παπαδοπούλου"});
        row("dates: histories", "1/1/1980|31/12/1995", "Button8", kHistory + dates,
            {"Μανικιούρ", "Καθαρισμός"}, {"Βαφή"});
        row("dates: selected history", "1/1/1980|31/12/1995", "Button9", kHistory + " WHERE ID=2",
            {"Μανικιούρ"}, {"Καθαρισμός"});
        row("dates: list", "1/1/1980|31/12/1995", "Button10", kList + dates, d, {"Πετρίδου"});
    }
    void printoutsFollowTheSearch() {
        QFETCH(QString, search);
        QFETCH(QString, button);
        QFETCH(QString, statement);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, left);
        Desk desk;
        addThree(desk.db);
        desk.buttons = {button};
        desk.opener = button == u"Button9" ? QStringLiteral("N5") : QStringLiteral("Button5");
        desk.search(search);

        QCOMPARE(desk.statements, QStringList{statement});
        QVERIFY(desk.closedAfterEach);
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'|')));
        const QString file = button == u"Button10"                          ? "LIST.pdf"
                             : button == u"Button1" || button == u"Button2" ? "STOIXEIA.pdf"
                                                                            : "ISTORIKO.pdf";
        QCOMPARE(desk.out.files(), QStringList{file});
        const QString fault = textFault(desk.pdf(file), printed, left);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // A missing report file gives the engine's message; the screen stays usable and the
    // next printout works, with nothing left open in between.
    void missingFileLeavesTheScreenUsable_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("pdf");
        QTest::newRow("cards") << "STOIXEIA.RAV"
                               << "Button2"
                               << "Button10"
                               << "LIST.pdf";
        QTest::newRow("history") << "ISTORIKO.RAV"
                                 << "Button8"
                                 << "Button1"
                                 << "STOIXEIA.pdf";
        QTest::newRow("list") << "LIST.RAV"
                              << "Button10"
                              << "Button9"
                              << "ISTORIKO.pdf";
    }
    void missingFileLeavesTheScreenUsable() {
        QFETCH(QString, missing);
        QFETCH(QString, button);
        QFETCH(QString, next);
        QFETCH(QString, pdf);
        Desk desk;
        addThree(desk.db);
        QVERIFY(QFile::remove(desk.db.dir() + "/" + missing));
        desk.buttons = {button, next};
        desk.search(QStringLiteral("all"));
        QCOMPARE(Messages::shownTexts(),
                 QStringList{"The following reporting project does not exist:\r\"" + desk.db.dir() +
                             "/" + missing + "\""});
        QVERIFY(desk.closedAfterEach);
        QCOMPARE(desk.out.files(), QStringList{pdf});
    }

    // A history prints in full and exactly as stored; one longer than a page runs on with the
    // customer's name at the top of each further page; an empty one prints the card alone.
    void historyPrintsExactly_data() {
        QTest::addColumn<QString>("history"); // "NULL" for none
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<int>("pages");
        QTest::newRow("none") << "NULL" << QStringList{"Δεν υπάρχει ιστορικό."} << 1;
        QTest::newRow("empty text") << "" << QStringList{"Δεν υπάρχει ιστορικό."} << 1;
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
        Desk desk;
        desk.db.exec(
            "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, ISTORIKO) VALUES ('Άννα', "
            "'Ιωάννου', " +
            (history == u"NULL" ? history : "'" + QString(history).replace("'", "''") + "'") + ")");
        desk.buttons = {QStringLiteral("Button9")};
        desk.search(QStringLiteral("all"));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'|')));
        const QString text = pdfText(desk.out.file("ISTORIKO.pdf"));
        for (const QString& piece : printed)
            QVERIFY2(flattened(text).contains(piece),
                     qPrintable(piece + " in: " + text.left(2000)));
        const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
        if (pages > 0) {
            QCOMPARE(pdfPageCount(text), pages);
            return;
        }
        QVERIFY(sheets.size() > 100);
        QCOMPARE(text.count("peeling, μάσκα"), history.count("peeling, μάσκα"));
        for (qsizetype p = 1; p + 1 < sheets.size(); ++p)
            QVERIFY2(sheets[p].startsWith("Ιωάννου Άννα - ιστορικό (συνέχεια)\n"),
                     qPrintable(sheets[p].left(200)));
    }

    // Cards never split across pages, and a history begins on its card's page.
    void cardsStayWhole_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pdf");
        QTest::newRow("cards") << "Button1"
                               << "STOIXEIA.pdf";
        QTest::newRow("histories") << "Button8"
                                   << "ISTORIKO.pdf";
    }
    void cardsStayWhole() {
        QFETCH(QString, button);
        QFETCH(QString, pdf);
        Desk desk;
        for (int i = 10; i < 70; ++i)
            desk.db.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (EPWNYMO, DIEYTHYNSH, TAMEIO, "
                                        "ISTORIKO) VALUES ('Πελάτης%1', 'Οδός %1', 'Ταμείο%1', "
                                        "'Αρχή%1\n%2Τέλος')")
                             .arg(i)
                             .arg(QStringLiteral("Γραμμή\n").repeated(i % 9)));
        desk.buttons = {button};
        desk.search(QStringLiteral("all"));
        const QStringList sheets = pdfText(desk.out.file(pdf)).split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(sheets.size() >= 3);
        for (int i = 10; i < 70; ++i) {
            QStringList wanted = {"Πελάτης%1", "Οδός %1"};
            if (button == u"Button8")
                wanted << "Αρχή%1";
            QStringList on; // the sheets holding the end of the card
            for (const QString& sheet : sheets)
                if (sheet.contains(QStringLiteral("Ταμείο%1").arg(i)))
                    on << sheet;
            QCOMPARE(on.size(), 1);
            for (const QString& w : wanted)
                QVERIFY2(on[0].contains(w.arg(i)), qPrintable(w.arg(i)));
        }
    }
};

QTEST_MAIN(TestPrintouts)
#include "tst_printouts.moc"
