#include "ScreenFixture.h"

#include "access/Unit100.h"
#include "access/Unit65.h"
#include "access/Unit66.h"
#include "appointments/Unit11.h"
#include "appointments/Unit12.h"
#include "appointments/Unit1a.h"
#include "appointments/Unit24.h"
#include "appointments/Unit2a.h"
#include "customers/Unit16.h"
#include "customers/Unit18.h"
#include "customers/Unit19.h"
#include "customers/Unit23.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "receipts/Unit68.h"
#include "receipts/Unit73.h"
#include "receipts/Unit9.h"
#include "tools/Unit10.h"
#include "tools/Unit6.h"
#include "tools/Unit7.h"
#include "tools/Unit8.h"
#include "ui/DBGrid.h"
#include "ui/Seams.h"

#include <QLineEdit>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

namespace {

// Each screen by the name the table gives it, made as the program makes it.
std::unique_ptr<QWidget> makeScreen(const QString& name) {
    using Make = std::function<std::unique_ptr<QWidget>()>;
    static const std::map<QString, Make> screens{
        {"1a", [] { return std::make_unique<TForm1a>(); }},
        {"2a", [] { return std::make_unique<TForm2a>(); }},
        {"6", [] { return std::make_unique<TForm6>(); }},
        {"7", [] { return std::make_unique<TForm7>(); }},
        {"8", [] { return std::make_unique<TForm8>(); }},
        {"9", [] { return std::make_unique<TForm9>(); }},
        {"10", [] { return std::make_unique<TForm10>(); }},
        {"11", [] { return std::make_unique<TForm11>(); }},
        {"12", [] { return std::make_unique<TForm12>(); }},
        {"13", [] { return std::make_unique<TForm13>(); }},
        {"14", [] { return std::make_unique<TForm14>(); }},
        {"15", [] { return std::make_unique<TForm15>(); }},
        {"16", [] { return std::make_unique<TForm16>(); }},
        {"18", [] { return std::make_unique<TForm18>(); }},
        {"19", [] { return std::make_unique<TForm19>(); }},
        {"23", [] { return std::make_unique<TForm23>(); }},
        {"24", [] { return std::make_unique<TForm24>(); }},
        {"65", [] { return std::make_unique<TForm65>(); }},
        {"66", [] { return std::make_unique<TForm66>(); }},
        {"68", [] { return std::make_unique<TForm68>(); }},
        {"73", [] { return std::make_unique<TForm73>(); }},
        {"100", [] { return std::make_unique<TForm100>(); }},
    };
    const auto found = screens.find(name);
    if (found == screens.end())
        qFatal("no screen %s in the table", qPrintable(name));
    return found->second();
}

void caption(const char* screen, const char* object, const QString& text) {
    QTest::addRow("%s %s", screen, *object ? object : "caption")
        << QString::fromLatin1(screen) << QString::fromLatin1(object) << text;
}

// A caption as the person meets it: the window's title (no object named), a grid's column
// titles (each after its alignment: < left, | centre, > right), an input's hint, or the text.
QString shownCaption(const QWidget& screen, const QString& object) {
    if (object.isEmpty())
        return screen.windowTitle();
    if (auto* grid = screen.findChild<DBGrid*>(object)) {
        QStringList titles;
        for (const GridColumn& c : grid->gridModel()->columns())
            titles << (c.alignment & Qt::AlignHCenter ? u'|'
                       : c.alignment & Qt::AlignRight ? u'>'
                                                      : u'<') +
                          c.title;
        return titles.join(u' ');
    }
    if (auto* input = screen.findChild<QLineEdit*>(object))
        return input->toolTip();
    const QObject* control = screen.findChild<QObject*>(object);
    return control ? control->property("text").toString()
                   : QStringLiteral("<no control %1>").arg(object);
}

} // namespace

// Every screen's captions exactly, traps included: a Latin look-alike, an accelerator, exact
// blanks, a grid's alignment.
class TestCaptions : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        Clock::setFixedForTesting(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    }
    void cleanup() { ScreenFixture::end(); }

    void captionsAreExact_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("object"); // empty: the window's own caption
        QTest::addColumn<QString>("text");

        // The access screens.
        const QString notice = QStringLiteral("Προσοχή έχουν σημασία Πεζά / Κεφαλαία");
        // The access check spells the notice with a Latin small "o" after "έχ".
        QString latinNotice = notice;
        latinNotice[10] = QLatin1Char('o'); // in place of the Greek "ο" of "έχουν"
        caption("65", "", QStringLiteral("Έλεγχος πρόσβασης"));
        caption("65", "Label1", QStringLiteral("Κωδικός πρόσβασης:"));
        caption("65", "Label2", latinNotice);
        caption("65", "Button1", QStringLiteral("Εί&σοδος"));
        caption("65", "Button2", QStringLiteral("Έ&ξοδος"));
        caption("100", "", QStringLiteral("Καθορισμός του κωδικού πρόσβασης"));
        caption("100", "Label2", QStringLiteral("Κωδικός πρόσβασης:"));
        caption("100", "Label3", QStringLiteral("Επιβεβαίωση κωδικού πρόσβασης:"));
        caption("100", "Label7", notice);
        caption("100", "Button1", QStringLiteral("Καταχώρηση"));
        caption("66", "", QStringLiteral("Αλλαγή του κωδικού πρόσβασης"));
        caption("66", "Label1", QStringLiteral("Προηγούμενος κωδικός πρόσβασης:"));
        caption("66", "Label2", QStringLiteral("Νέος κωδικός πρόσβασης:"));
        caption("66", "Label3", QStringLiteral("Επιβεβαίωση νέου κωδικού πρόσβασης:"));
        caption("66", "Label7", notice);
        caption("66", "Button1", QStringLiteral("Αλ&λαγή"));
        caption("66", "Button2", QStringLiteral("Έ&ξοδος"));

        // The appointment book, its day page and the search.
        caption("1a", "", QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));
        caption("1a", "Label83", QStringLiteral("Έτος:"));
        caption("1a", "Button2", QStringLiteral("Σήμερα"));
        caption("1a", "Label1", QStringLiteral("Μήνας:"));
        caption("1a", "Button1", QStringLiteral("Έ&ξοδος"));
        caption("1a", "Label2", QStringLiteral("Δευτέρα"));
        caption("1a", "Label3", QStringLiteral("Τρίτη"));
        caption("1a", "Label4", QStringLiteral("Τετάρτη"));
        caption("1a", "Label5", QStringLiteral("Πέμπτη"));
        caption("1a", "Label6", QStringLiteral("Παρασκευή"));
        caption("1a", "Label7", QStringLiteral("Σάββατο"));
        caption("1a", "Label8", QStringLiteral("Κυριακή"));
        caption("2a", "", QStringLiteral("Αναλυτική κατάσταση των ραντεβού"));
        caption("2a", "Button29", QStringLiteral("Έ&ξοδος"));
        caption("2a", "Button30", QStringLiteral("Ε&κτύπωση"));
        caption("24", "", QStringLiteral("Αναζήτηση στα ραντεβού"));
        caption("24", "Button1", QStringLiteral("Εύ&ρεση"));
        caption("24", "Button3", QStringLiteral("Έ&ξοδος"));

        // The reminders.
        caption("11", "", QStringLiteral("Υπενθυμίσεις"));
        caption("11", "Label1", QStringLiteral("Ημερομηνία:"));
        caption("11", "Label2", QStringLiteral("Κείμενο:"));
        caption("11", "Label3", QStringLiteral("*"));
        caption("11", "Label4", QStringLiteral("(π.χ 28/12/2007)"));
        caption("11", "Button1", QStringLiteral("Έ&ξοδος"));
        caption("12", "", QStringLiteral("Υπενθυμίσεις"));
        caption("12", "Button1", QStringLiteral("Έ&ξοδος"));

        // The customers and their birthdays.
        caption("16", "Label9", QStringLiteral("Tαμείο:")); // a Latin T
        caption("19", "Label9", QStringLiteral("Tαμείο:"));
        caption("18", "Button6", QStringLiteral("Έκδοση απόδει&ξης"));
        caption("18", "KLLLL1", QStringLiteral("Έκδοση απόδειξ&ης"));
        caption("18", "N4", QStringLiteral("Επισκέ&ψεις πελάτη"));
        caption("23", "", QStringLiteral("Γενέθλια πελατών"));
        caption("23", "Label1", QStringLiteral("Από:"));
        caption("23", "Label2", QStringLiteral("Μέχρι:"));
        caption("23", "Button3", QStringLiteral("Έ&ξοδος"));

        // The expenses and their analyses.
        caption("13", "Label6", QStringLiteral("EUR *"));
        caption("13", "DBGrid1", QStringLiteral("<Περιγραφή |Ημερομηνία >Ποσό (EUR) >Φ.Π.Α (EUR)"));
        caption("14", "Edit1",
                QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/03/2007)"));
        caption("14", "Button1", QStringLiteral("E") + QStringLiteral("ύ&ρεση"));
        caption("14", "DBGrid1",
                QStringLiteral("<Περιγραφή |Ημερομηνία >Αξία (EUR) >Φ.Π.Α (EUR) >Αξία + "
                               "Φ.Π.Α (EUR)"));
        caption("14", "Button4", QStringLiteral("Εξα&γωγή σε Excel…"));
        caption("15", "Button1", QStringLiteral("Εύ&ρεση"));
        caption("15", "Button4", QStringLiteral("Εξα&γωγή σε Excel…"));
        caption("15", "DBGrid1",
                QStringLiteral("|Μήνας |Έτος >Αξία (EUR) >Φ.Π.Α (EUR) >Αξία +Φ.Π.Α (EUR)"));

        // The receipt settings: accelerators, a Latin M, a stop left out.
        caption("9", "Button2", QStringLiteral("Έ&ξοδος"));
        caption("68", "", QStringLiteral("Συντελεστής Φ.Π.Α"));
        caption("73", "Label7", QStringLiteral("Α.Φ.M:")); // a Latin M
        caption("73", "Button2", QStringLiteral("Προε&πισκόπιση"));

        // The tools: only the notes book's buttons have accelerators; of the calendar's
        // captions, "click" is Latin and its exit alone has no accelerator.
        caption("6", "Button2", QStringLiteral("Εκτύ&πωση"));
        caption("6", "Button1", QStringLiteral("Έ&ξοδος"));
        caption("7", "Button3", QStringLiteral("Έξοδος"));
        caption("8", "Label5", QStringLiteral("Για αλλαγή κάνε click στο μήνα ή έτος"));
        caption("8", "Button1", QStringLiteral("Έξοδος"));
        // The label's accented capital is not in the list's title.
        caption("10", "Label1", QStringLiteral("Όνοματεπώνυμο:"));
        caption("10", "Button1", QStringLiteral("Έ&ξοδος"));
    }
    void captionsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, object);
        QFETCH(QString, text);
        TestDatabase db;
        QCOMPARE(shownCaption(*makeScreen(screen), object), text);
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
