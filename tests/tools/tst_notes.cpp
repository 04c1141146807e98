#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "app/LongLivedScreens.h"
#include "tools/Unit6.h"
#include "tools/Unit7.h"
#include "ui/DBText.h"
#include "ui/LongLived.h"

#include <QMetaEnum>
#include <QPushButton>

namespace {

// A fresh data file holding notes of these titles, with the shipped report files, the print
// screen of the program's start and reports written as PDF files.
struct Notes : ScreenFixture {
    PdfFolder out;
    LongLivedScreens screens;
    TForm7* printing = LongLived::find<TForm7>();
    QStringList statements;  // each statement the print screen ran
    bool selectable = false; // "the selected" could be printed
    bool stayedOpen = false; // after its printing

    explicit Notes(const QStringList& titles = {}) {
        copyShippedReports(db.dir());
        for (const QString& t : titles)
            db.exec(QStringLiteral("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('%1', "
                                   "'Κείμενο της %1')")
                        .arg(t));
        QObject::connect(printing->ADOQuery1, &DataSet::afterOpen, printing,
                         [this] { statements << printing->ADOQuery1->sqlText(); });
    }
    // Presses the print screen's buttons in turn when it shows, then its exit.
    void pressOnPrinting(const QStringList& buttons) {
        Modal::setTestHook([this, buttons](QDialog& d) {
            selectable = child<QPushButton>(d, "Button2")->isEnabled();
            for (const QString& b : buttons)
                child<QPushButton>(d, b)->click();
            stayedOpen = d.isVisible();
            child<QPushButton>(d, QStringLiteral("Button3"))->click();
            return int(d.result());
        });
    }
};

// The notes book over them.
struct Book : Notes {
    using Notes::Notes;
    TForm6 form;

    void press(const char* button) {
        const int b = QMetaEnum::fromType<DBNavigator::Button>().keyToValue(button);
        child<DBNavigator>(form, "DBNavigator1")->click(DBNavigator::Button(b));
    }
    void type(const char* field, const QString& text) {
        auto* w = child<QWidget>(form, field);
        w->setFocus();
        typeText(w, text);
    }
};

} // namespace

// The notes book and its printout.
class TestNotes : public QObject {
    Q_OBJECT

private slots:
    void init() { ScreenFixture::begin(); }
    void cleanup() { ScreenFixture::end(); }

    // The note's number stays hidden, and Escape closes the book and its data file.
    void bookAsOpened() {
        Book b({QStringLiteral("Α")});
        QVERIFY(showActive(b.form));
        QVERIFY(!child<DBText>(b.form, "DBText1")->isVisible());
        QCOMPARE(child<DBNavigator>(b.form, "DBNavigator1")->visibleButtons(),
                 DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last |
                     DBNavigator::Insert | DBNavigator::Delete | DBNavigator::Post);
        QTest::keyClick(&b.form, Qt::Key_Escape);
        QVERIFY(!b.form.isVisible());
        QVERIFY(!child<Connection>(b.form, "ADOConnection1")->isConnected());
    }

    // "Εκτύ&πωση" is there only for a saved note: the steps, from a book of so many notes.
    void printButtonFollowsTheBook_data() {
        QTest::addColumn<int>("notes");
        QTest::addColumn<QStringList>("steps"); // navigator buttons, or typing a title
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty book") << 0 << QStringList{} << false;
        QTest::newRow("first note typed, not saved") << 0 << QStringList{"type"} << false;
        QTest::newRow("first note saved") << 0 << QStringList{"type", "Post"} << true;
        QTest::newRow("new note being typed") << 2 << QStringList{"Insert", "type"} << false;
        QTest::newRow("new note saved") << 2 << QStringList{"Insert", "type", "Post"} << true;
        QTest::newRow("new note given up") << 2 << QStringList{"Insert", "Last"} << true;
        QTest::newRow("last note deleted") << 1 << QStringList{"Delete"} << false;
        QTest::newRow("one of two deleted") << 2 << QStringList{"Delete"} << true;
    }
    void printButtonFollowsTheBook() {
        QFETCH(int, notes);
        QFETCH(QStringList, steps);
        QFETCH(bool, enabled);
        Book b(QStringList{"Α", "Β"}.mid(0, notes));
        QVERIFY(showActive(b.form));
        if (steps.contains("Delete"))
            Messages::setNextAnswers({true}); // to the question before deleting
        for (const QString& step : steps) {
            if (step == u"type")
                b.type("DBEdit1", QStringLiteral("Νέα"));
            else
                b.press(qPrintable(step));
        }
        QCOMPARE(child<QPushButton>(b.form, "Button2")->isEnabled(), enabled);
        QCOMPARE(b.db.scalar(QStringLiteral("SELECT count(*) FROM SHMEIWSEIS")).toInt(),
                 notes + int(steps.endsWith("Post")) - int(steps.contains("Delete")));
    }

    // The statements to the letter and what the PDF holds: only what is saved, in title
    // order. The book opens on "Άλφα" (number 2).
    void printing_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("changeFirst"); // typed into the text and not saved
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("pdf");
        const QString all = QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY "
                                           "TITLOS ASC");
        const QString one = QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=2");
        const QString both = QStringLiteral("Σημειώσεις: 2 .*Άλφα Κείμενο της Άλφα .*Ωμέγα "
                                            "Κείμενο της Ωμέγα");
        const QString alpha = QStringLiteral("Σημειώσεις: 1 .*Άλφα Κείμενο της Άλφα");
        QTest::newRow("all") << QStringList{"Button1"} << false << QStringList{all} << both;
        QTest::newRow("selected") << QStringList{"Button2"} << false << QStringList{one} << alpha;
        QTest::newRow("selected, unsaved change")
            << QStringList{"Button2"} << true << QStringList{one} << alpha;
        QTest::newRow("selected, then all")
            << QStringList{"Button2", "Button1"} << false << QStringList{one, all} << both;
    }
    void printing() {
        QFETCH(QStringList, buttons);
        QFETCH(bool, changeFirst);
        QFETCH(QStringList, statements);
        QFETCH(QString, pdf);
        Book b({QStringLiteral("Ωμέγα"), QStringLiteral("Άλφα")});
        QVERIFY(showActive(b.form));
        if (changeFirst)
            b.type("DBMemo1", QStringLiteral("ΑΛΛΑΓΗ"));
        b.pressOnPrinting(buttons);
        child<QPushButton>(b.form, "Button2")->click();

        QCOMPARE(b.statements, statements);
        QVERIFY(b.selectable);
        QVERIFY(b.stayedOpen);
        QVERIFY(Messages::shown().isEmpty());
        const QString text =
            flattened(pdfText(b.out.file(buttons.size() > 1 ? "NOTES-2.pdf" : "NOTES.pdf")));
        QVERIFY2(QRegularExpression(pdf).match(text).hasMatch(), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("ΑΛΛΑΓΗ")));
        QVERIFY(!b.printing->ADOConnection1->isConnected());
    }

    // With no note to name, the print screen prints all but not "the selected" one.
    void printScreenWithoutANote_data() {
        QTest::addColumn<QString>("noteId");
        QTest::newRow("none") << "";
        QTest::newRow("not a number") << "2 OR 1=1";
    }
    void printScreenWithoutANote() {
        QFETCH(QString, noteId);
        Notes data({QStringLiteral("Α")});
        data.printing->NoteId = noteId;
        data.pressOnPrinting({});
        Modal::exec(*data.printing);
        QVERIFY(!data.selectable);
        QVERIFY(data.statements.isEmpty());
    }

    // A note is stored and printed as typed, and a long one flows across the pages with
    // each of its lines printed once.
    void textIsKeptExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("piece"); // printed once for each time it is in the text
        QTest::addColumn<bool>("manyPages");
        QTest::newRow("quotes, tabs, Greek and Latin")
            << QStringLiteral("«Σημείωση» \"quoted\" 'O''Brien'\tΤαb\t\tLatin και ελληνικά "
                              "& <b>όχι έντονα</b>\nδεύτερη γραμμή")
            << "<b>όχι έντονα</b>" << false;
        QString lines;
        for (int line = 1; lines.size() < 1024 * 1024; ++line)
            lines += QStringLiteral("Γραμμή %1: \"λέξεις\" 'words'\tμε στηλοθέτη και κείμενο\n")
                         .arg(line, 6, 10, QChar(u'0'));
        QTest::newRow("1 MB of lines") << lines + QStringLiteral("ΤΕΛΟΣ") << "με στηλοθέτη" << true;
        QString words;
        for (int word = 1; word <= 30000; ++word)
            words += QStringLiteral("λέξη%1 ").arg(word);
        QTest::newRow("one long paragraph") << words << "λέξη" << true;
    }
    void textIsKeptExactly() {
        QFETCH(QString, text);
        QFETCH(QString, piece);
        QFETCH(bool, manyPages);
        Book b;
        QVERIFY(showActive(b.form));
        b.type("DBEdit1", QStringLiteral("Μεγάλη"));
        child<DBMemo>(b.form, "DBMemo1")->setPlainText(text);
        b.press("Post");
        QCOMPARE(b.db.scalar(QStringLiteral("SELECT PERIGRAFH FROM SHMEIWSEIS")), text);

        b.pressOnPrinting({QStringLiteral("Button2")});
        child<QPushButton>(b.form, "Button2")->click();
        const QString pdf = pdfText(b.out.file(QStringLiteral("NOTES.pdf")));
        const QStringList lines = text.split(u'\n');
        // Tabs keep their room on paper, so the text reads back in pieces around them.
        const QString ends = lines.first().left(60) + u'\t' + lines.last().right(60);
        for (const QString& part : ends.split(u'\t', Qt::SkipEmptyParts))
            QVERIFY2(flattened(pdf).contains(flattened(part).trimmed()), qPrintable(part));
        QCOMPARE(pdfPageCount(pdf) > 1, manyPages);
        QCOMPARE(pdf.count(piece), text.count(piece));
    }

    // The list stays in Greek alphabetical order, whatever the accents and case, and the
    // note just saved stays the current one.
    void listStaysInTitleOrder_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("current");
        QTest::newRow("first") << "αβγ" << QStringList{"αβγ", "Άλφα", "ΒΗΤΑ", "ωμέγα"} << 0;
        QTest::newRow("middle") << "Γάμμα" << QStringList{"Άλφα", "ΒΗΤΑ", "Γάμμα", "ωμέγα"} << 2;
        QTest::newRow("last") << "Ωχρός" << QStringList{"Άλφα", "ΒΗΤΑ", "ωμέγα", "Ωχρός"} << 3;
    }
    void listStaysInTitleOrder() {
        QFETCH(QString, title);
        QFETCH(QStringList, listed);
        QFETCH(int, current);
        Book b({QStringLiteral("ωμέγα"), QStringLiteral("ΒΗΤΑ"), QStringLiteral("Άλφα")});
        QVERIFY(showActive(b.form));
        QCOMPARE(gridColumn(b.form), (QStringList{"Άλφα", "ΒΗΤΑ", "ωμέγα"}));
        b.press("Last");
        b.press("Insert");
        b.type("DBEdit1", title);
        b.press("Post");
        QTRY_COMPARE(gridColumn(b.form), listed);
        QCOMPARE(child<DataSet>(b.form, "ADOTable1")->currentRow(), current);
        QCOMPARE(child<DBEdit>(b.form, "DBEdit1")->text(), title);
    }
};

QTEST_MAIN(TestNotes)
#include "tst_notes.moc"
