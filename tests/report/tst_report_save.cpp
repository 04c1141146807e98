#include "../ui/UiFixture.h"
#include "ReportFixture.h"

#include "customers/Unit22.h"
#include "expenses/Unit14.h"
#include "receipts/Unit72.h"
#include "tools/Unit7.h"
#include "ui/ReportPreview.h"
#include "ui/SaveFile.h"

#include <QAction>
#include <QFileDialog>
#include <QPushButton>

namespace {

// What the preview's "Save PDF" proposed, and the file it then wrote.
struct SaveAnswer {
    QString folder, name, written;
};

// Prints from a screen over a data file holding the shipped reports, and answers the preview
// by saving a PDF into `target` (the proposed folder when empty).
SaveAnswer printAndSave(const QString& screen, const TestDatabase& db, const QString& target = {}) {
    SaveAnswer answer;
    Modal::setTestHook([&answer, target](QDialog& d) {
        if (auto* dialog = qobject_cast<QFileDialog*>(&d)) {
            answer.folder = dialog->directory().absolutePath();
            answer.name = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            answer.written = QDir(target.isEmpty() ? answer.folder : target).filePath(answer.name);
            dialog->selectFile(answer.written);
            return int(QDialog::Accepted);
        }
        if (auto* save = d.findChild<QAction*>("SavePdf"))
            save->trigger();
        return int(QDialog::Rejected);
    });
    copyShippedReports(db.dir());
    if (screen == u"receipt") {
        db.exec("INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (0); INSERT INTO APODEIKSEIS "
                "(AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, POSO, VAT, SYNOLIKO_POSO, EGKYRH) "
                "VALUES (1001, '2024-05-17', 'Μαρία', 'Παπαδοπούλου', 40, 0, 40, 1)");
        TForm72 form;
        form.ReceiptNumber = 1001;
        form.PrintReceipt();
    } else if (screen == u"notes") {
        TForm7 form;
        child<QPushButton>(form, "Button1")->click();
    } else if (screen == u"customers") {
        db.exec("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO) VALUES ('Μαρία', 'Παπαδοπούλου')");
        TForm22 form;
        form.CatalogueSql = "SELECT * FROM STOIXEIA_PELATH";
        child<QPushButton>(form, "Button10")->click();
    } else {
        TForm14 form;
        child<QLineEdit>(form, "Edit1")->setText("01/03/2007");
        child<QLineEdit>(form, "Edit2")->setText("31/03/2007");
        child<QPushButton>(form, "Button1")->click();
        child<QPushButton>(form, "Button3")->click();
    }
    Modal::setTestHook({});
    return answer;
}

} // namespace

// Saving a report as PDF from its preview: a name that says what it holds, in the data
// folder or in the folder last used.
class TestReportSave : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ScreenFixture::begin();
        qunsetenv("MARIVELLE_REPORT_PDF_DIR");
        Clock::setFixedForTesting(QDate(2024, 5, 17));
    }
    void cleanup() { ScreenFixture::end(); }

    // Words a person reads, never the report file's name; the expenses by month go through
    // the same subject as those between dates.
    void proposedNameTellsTheSubject_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("name");
        QTest::newRow("a receipt: its number") << QString("receipt") << "Απόδειξη 1001.pdf";
        QTest::newRow("expenses between dates: the period")
            << QString("expenses") << "Έξοδα 1-3-2007 έως 31-3-2007.pdf";
        QTest::newRow("the customer list") << QString("customers") << "Κατάλογος πελατών.pdf";
        QTest::newRow("the notes") << QString("notes") << "Σημειώσεις.pdf";
    }
    void proposedNameTellsTheSubject() {
        QFETCH(QString, screen);
        QFETCH(QString, name);
        TestDatabase db;
        SaveAnswer answer;
        MV_VERIFY_NOTHROW(answer = printAndSave(screen, db));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        QCOMPARE(answer.folder, QDir(db.dir()).absolutePath());
        QCOMPARE(answer.name, name);
        QVERIFY(QFileInfo(answer.written).size() > 0);
        // The document's own title says the same, with the "/" a file name cannot hold.
        QCOMPARE(SaveFile::nameFrom(pdfTitle(answer.written)) + ".pdf", name);
    }

    // The folder a PDF went to is proposed again for the next one during the run.
    void theLastFolderIsRemembered() {
        TestDatabase db;
        const QTemporaryDir elsewhere;
        SaveAnswer first;
        MV_VERIFY_NOTHROW(first = printAndSave("notes", db, elsewhere.path()));
        QCOMPARE(first.folder, QDir(db.dir()).absolutePath());
        QVERIFY(QFileInfo(first.written).size() > 0);
        SaveAnswer second;
        MV_VERIFY_NOTHROW(second = printAndSave("notes", db));
        QCOMPARE(second.folder, QDir(elsewhere.path()).absolutePath());
    }
};

QTEST_MAIN(TestReportSave)
#include "tst_report_save.moc"
