#include "../report/ReportFixture.h"
#include "../ui/UiFixture.h"

#include "app/LongLivedScreens.h"
#include "tools/Unit6.h"
#include "tools/Unit7.h"
#include "ui/DBText.h"
#include "ui/LongLived.h"

#include <QLabel>
#include <QPushButton>

namespace {

// A fresh data file with the shipped report files, the print screen of the program's start
// and reports written as PDF files.
struct Notes {
    TestDatabase db;
    PdfFolder out;
    LongLivedScreens screens;
    TForm7* printing = LongLived::find<TForm7>();
    QStringList statements;  // each statement the print screen ran
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
            for (const QString& b : buttons)
                child<QPushButton>(d, b)->click();
            stayedOpen = d.isVisible();
            child<QPushButton>(d, QStringLiteral("Button3"))->click();
            return int(d.result());
        });
    }
    QString pdf(const QString& name = QStringLiteral("NOTES.pdf")) const {
        return flattened(pdfText(out.file(name)));
    }
};

void press(TForm6& book, DBNavigator::Button b) {
    child<DBNavigator>(book, "DBNavigator1")->click(b);
}

} // namespace

// The notes book and its printout.
class TestNotes : public QObject {
    Q_OBJECT

private slots:
    void init() { scriptMessages(); }
    void cleanup() { Modal::setTestHook({}); }

    void captionsAreExact_data() {
        addCaptionColumns();
        addCaption("6", "", QStringLiteral("Βιβλίο σημειώσεων"));
        addCaption("6", "Label1", QStringLiteral("Τίτλος:"));
        addCaption("6", "Label2", QStringLiteral("Περιγραφή:"));
        addCaption("6", "Label3", QStringLiteral("*"));
        addCaption("6", "Label4", QStringLiteral("*"));
        addCaption("6", "Button2", QStringLiteral("Εκτύ&πωση"));
        addCaption("6", "Button1", QStringLiteral("Έ&ξοδος"));
        addCaption("7", "", QStringLiteral("Εκτύπωση"));
        addCaption("7", "Button1", QStringLiteral("Εκτύπωση όλων"));
        addCaption("7", "Button2", QStringLiteral("Εκτύπωση του επιλεγμένου"));
        addCaption("7", "Button3", QStringLiteral("Έξοδος"));
    }
    void captionsAreExact() {
        QFETCH(QString, screen);
        QFETCH(QString, object);
        QFETCH(QString, text);
        TestDatabase db;
        std::unique_ptr<Screen> form;
        if (screen == u"6")
            form = std::make_unique<TForm6>();
        else
            form = std::make_unique<TForm7>();
        QCOMPARE(captionOf(*form, object), text);
    }

    void bookIsLaidOutForTheKeyboard() {
        Notes data({QStringLiteral("Α")});
        TForm6 book;
        QVERIFY(showActive(book));
        QCOMPARE(child<QLabel>(book, "Label1")->buddy(), child<QWidget>(book, "DBEdit1"));
        QCOMPARE(child<QLabel>(book, "Label2")->buddy(), child<QWidget>(book, "DBMemo1"));
        QVERIFY(!child<DBText>(book, "DBText1")->isVisible());
        QCOMPARE(child<DBGrid>(book, "DBGrid1")->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(child<DBGrid>(book, "DBGrid1")->model()->columnCount(), 1);
        QCOMPARE(child<DBNavigator>(book, "DBNavigator1")->visibleButtons(),
                 DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last |
                     DBNavigator::Insert | DBNavigator::Delete | DBNavigator::Post);
        QTest::keyClick(&book, Qt::Key_Escape);
        QVERIFY(!book.isVisible());
        QVERIFY(!child<Connection>(book, "ADOConnection1")->isConnected());
    }

    // "Εκτύ&πωση" is there only for a saved note: the steps, from a book of so many notes.
    void printButtonFollowsTheBook_data() {
        QTest::addColumn<int>("notes");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty book") << 0 << QStringList{} << false;
        QTest::newRow("first note typed, not saved") << 0 << QStringList{"type"} << false;
        QTest::newRow("first note saved") << 0 << QStringList{"type", "post"} << true;
        QTest::newRow("new note being typed") << 2 << QStringList{"insert", "type"} << false;
        QTest::newRow("new note saved") << 2 << QStringList{"insert", "type", "post"} << true;
        QTest::newRow("new note given up") << 2 << QStringList{"insert", "last"} << true;
        QTest::newRow("last note deleted") << 1 << QStringList{"delete"} << false;
        QTest::newRow("one of two deleted") << 2 << QStringList{"delete"} << true;
    }
    void printButtonFollowsTheBook() {
        QFETCH(int, notes);
        QFETCH(QStringList, steps);
        QFETCH(bool, enabled);
        Notes data(QStringList{"Α", "Β"}.mid(0, notes));
        TForm6 book;
        QVERIFY(showActive(book));
        auto* title = child<DBEdit>(book, "DBEdit1");
        for (const QString& step : steps) {
            if (step == u"type") {
                title->setFocus();
                typeText(title, QStringLiteral("Νέα"));
            } else if (step == u"delete") {
                Messages::setNextAnswers({true});
                press(book, DBNavigator::Delete);
            } else {
                press(book, step == u"post"     ? DBNavigator::Post
                            : step == u"insert" ? DBNavigator::Insert
                                                : DBNavigator::Last);
            }
        }
        QCOMPARE(child<QPushButton>(book, "Button2")->isEnabled(), enabled);
        QCOMPARE(data.db.scalar(QStringLiteral("SELECT count(*) FROM SHMEIWSEIS")).toInt(),
                 notes + int(steps.endsWith("post")) - int(steps.contains("delete")));
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
        const QString both = QStringLiteral("Άλφα Κείμενο της Άλφα .*Ωμέγα Κείμενο της Ωμέγα");
        QTest::newRow("all") << QStringList{"Button1"} << false << QStringList{all} << both;
        QTest::newRow("selected") << QStringList{"Button2"} << false << QStringList{one}
                                  << "Άλφα Κείμενο της Άλφα";
        QTest::newRow("selected, unsaved change")
            << QStringList{"Button2"} << true << QStringList{one} << "Άλφα Κείμενο της Άλφα";
        QTest::newRow("selected, then all")
            << QStringList{"Button2", "Button1"} << false << QStringList{one, all} << both;
    }
    void printing() {
        QFETCH(QStringList, buttons);
        QFETCH(bool, changeFirst);
        QFETCH(QStringList, statements);
        QFETCH(QString, pdf);
        Notes data({QStringLiteral("Ωμέγα"), QStringLiteral("Άλφα")});
        TForm6 book;
        QVERIFY(showActive(book));
        if (changeFirst) {
            auto* memo = child<DBMemo>(book, "DBMemo1");
            memo->setFocus();
            typeText(memo, QStringLiteral("ΑΛΛΑΓΗ"));
        }
        data.pressOnPrinting(buttons);
        child<QPushButton>(book, "Button2")->click();

        QCOMPARE(data.statements, statements);
        QVERIFY(data.stayedOpen);
        QCOMPARE(data.printing->NoteId, QStringLiteral("2"));
        QVERIFY(Messages::shown().isEmpty());
        const QString last = buttons.size() > 1 ? QStringLiteral("NOTES-2.pdf") : "NOTES.pdf";
        const QString text = data.pdf(last);
        QVERIFY2(QRegularExpression(pdf).match(text).hasMatch(), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("ΑΛΛΑΓΗ")));
        if (buttons == QStringList{"Button2"})
            QVERIFY(!text.contains(QStringLiteral("Ωμέγα")));
        QVERIFY(!data.printing->ADOConnection1->isConnected());
        QVERIFY(data.printing->ADOQuery1->sql().isEmpty());
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
        bool selectedEnabled = true;
        Modal::setTestHook([&](QDialog& d) {
            selectedEnabled = child<QPushButton>(d, "Button2")->isEnabled();
            d.close();
            return 0;
        });
        Modal::exec(*data.printing);
        QVERIFY(!selectedEnabled);
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
        Notes data;
        TForm6 book;
        QVERIFY(showActive(book));
        auto* title = child<DBEdit>(book, "DBEdit1");
        title->setFocus();
        typeText(title, QStringLiteral("Μεγάλη"));
        child<DBMemo>(book, "DBMemo1")->setPlainText(text);
        press(book, DBNavigator::Post);
        QCOMPARE(data.db.scalar(QStringLiteral("SELECT PERIGRAFH FROM SHMEIWSEIS")), text);

        data.pressOnPrinting({QStringLiteral("Button2")});
        child<QPushButton>(book, "Button2")->click();
        const QString pdf = pdfText(data.out.file(QStringLiteral("NOTES.pdf")));
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
        Notes data({QStringLiteral("ωμέγα"), QStringLiteral("ΒΗΤΑ"), QStringLiteral("Άλφα")});
        TForm6 book;
        QVERIFY(showActive(book));
        QCOMPARE(gridColumn(book), (QStringList{"Άλφα", "ΒΗΤΑ", "ωμέγα"}));
        press(book, DBNavigator::Last);
        press(book, DBNavigator::Insert);
        auto* edit = child<DBEdit>(book, "DBEdit1");
        edit->setFocus();
        typeText(edit, title);
        press(book, DBNavigator::Post);
        QTRY_COMPARE(gridColumn(book), listed);
        QCOMPARE(child<DataSet>(book, "ADOTable1")->currentRow(), current);
        QCOMPARE(edit->text(), title);
    }
};

QTEST_MAIN(TestNotes)
#include "tst_notes.moc"
