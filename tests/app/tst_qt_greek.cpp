#include "../ui/UiFixture.h"

#include "app/DesktopIntegration.h"

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTranslator>

namespace {

// Asked only for what the program's own translation left untranslated: it is installed
// first, so it is asked last.
class Untranslated : public QTranslator {
public:
    mutable QStringList asked;
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int) const override {
        // Keys are named as printed on the keyboard.
        if (qstrcmp(context, "QShortcut") != 0)
            asked << QStringLiteral("%1: %2 (%3)").arg(context, source, disambiguation);
        return QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

// Qt's own dialogs, which the program opens for printing and saving files, read in Greek.
class TestQtGreek : public QObject {
    Q_OBJECT

private slots:
    // All of them at once: a string left untranslated is named with its dialog's context.
    void dialogsReadInGreek() {
        Untranslated untranslated;
        QCoreApplication::installTranslator(&untranslated);
        QVERIFY(DesktopIntegration::installGreekQtStrings(*qApp));
        // Installing asks for the layout direction, which left to right needs no translation.
        untranslated.asked.clear();
        // A file and a folder to list, so that the list's own strings are asked for.
        const QTemporaryDir folder;
        QFile file(folder.filePath("απόδειξη.pdf"));
        QVERIFY(file.open(QIODevice::WriteOnly) && QDir(folder.path()).mkdir("φάκελος"));
        QFileDialog save(nullptr, "Αποθήκευση PDF", folder.path(), "PDF (*.pdf)");
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        // The detail view asks for all the list view does, and for its columns.
        save.setViewMode(QFileDialog::Detail);
        QPrinter printer;
        QPrintDialog print(&printer);
        QPageSetupDialog pageSetup(&printer);
        QMessageBox question(QMessageBox::Question, "Marivelle", "Έξοδος;",
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                                 QMessageBox::Cancel | QMessageBox::Save | QMessageBox::Close);
        for (QWidget* dialog :
             std::initializer_list<QWidget*>{&save, &print, &pageSetup, &question}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
        }
        // The printer's options are folded away until asked for.
        QAbstractButton* options = nullptr;
        for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
            if (b->text().startsWith("&Επιλογές"))
                options = b;
        QVERIFY(options);
        options->click();
        // The edit menus of a line and of a memo.
        QLineEdit line;
        delete line.createStandardContextMenu();
        QPlainTextEdit memo("κείμενο");
        delete memo.createStandardContextMenu();
        QTest::qWait(50);
        untranslated.asked.removeDuplicates();
        untranslated.asked.sort();
        QVERIFY2(untranslated.asked.isEmpty(), qPrintable(untranslated.asked.join(u'\n')));
        // Captions only where an accelerator could be lost.
        QCOMPARE(child<QLabel>(save, "fileNameLabel")->text(), "Όνομα &αρχείου:");
        QCOMPARE(child<QAbstractButton>(print, "properties")->text(), "&Ιδιότητες");
    }
};

QTEST_MAIN(TestQtGreek)
#include "tst_qt_greek.moc"
