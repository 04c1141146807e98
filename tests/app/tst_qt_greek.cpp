#include "app/DesktopIntegration.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

// Asked only for what the program's own translation left untranslated: it is installed
// first, so it is asked last.
class Untranslated : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int) const override {
        // Keys are named as printed on the keyboard.
        if (qstrcmp(context, "QShortcut") != 0)
            m_asked.insert(QStringLiteral("%1: %2 (%3)")
                               .arg(QString::fromUtf8(context), QString::fromUtf8(source),
                                    QString::fromUtf8(disambiguation)));
        return QString();
    }
    bool isEmpty() const override { return false; }
    QStringList asked() const {
        QStringList list(m_asked.begin(), m_asked.end());
        list.sort();
        return list;
    }
    void clear() { m_asked.clear(); }

private:
    mutable QSet<QString> m_asked;
};

// The visible text of a control: a label's or a button's.
QString textOf(const QWidget& dialog, const QString& object) {
    if (const auto* label = dialog.findChild<QLabel*>(object))
        return label->text();
    if (const auto* button = dialog.findChild<QAbstractButton*>(object))
        return button->text();
    return QStringLiteral("<no %1>").arg(object);
}

QAbstractButton* buttonStartingWith(const QWidget& dialog, const QString& text) {
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (b->text().startsWith(text))
            return b;
    return nullptr;
}

} // namespace

// Qt's own dialogs, which the program opens for printing and saving files, read in Greek.
class TestQtGreek : public QObject {
    Q_OBJECT
    Untranslated untranslated;
    QTemporaryDir folder;

private slots:
    void initTestCase() {
        QCoreApplication::installTranslator(&untranslated);
        QVERIFY(DesktopIntegration::installGreekQtStrings(*qApp));
        QFile file(folder.filePath(QStringLiteral("απόδειξη.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("φάκελος")));
    }
    void init() { untranslated.clear(); }

    void dialogsReadInGreek_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("text");
        QTest::newRow("saving a file") << "save"
                                       << "fileNameLabel"
                                       << "Όνομα &αρχείου:";
        QTest::newRow("saving a file, in detail") << "save detail"
                                                  << "lookInLabel"
                                                  << "Αναζήτηση σε:";
        QTest::newRow("printing, with the options") << "print"
                                                    << "properties"
                                                    << "&Ιδιότητες";
        QTest::newRow("page set-up") << "page setup"
                                     << "pageSizeLabel"
                                     << "Μέγεθος σελίδας:";
        QTest::newRow("a question's buttons") << "message"
                                              << ""
                                              << "";
        QTest::newRow("the edit menus") << "edit menus"
                                        << ""
                                        << "";
    }
    void dialogsReadInGreek() {
        QFETCH(QString, dialog);
        QFETCH(QString, object);
        QFETCH(QString, text);
        QPrinter printer;
        std::unique_ptr<QWidget> shown;
        if (dialog.startsWith(u"save")) {
            auto* d = new QFileDialog(nullptr, QStringLiteral("Αποθήκευση PDF"), folder.path(),
                                      QStringLiteral("PDF (*.pdf)"));
            d->setOption(QFileDialog::DontUseNativeDialog);
            d->setAcceptMode(QFileDialog::AcceptSave);
            if (dialog.endsWith(u"detail"))
                d->setViewMode(QFileDialog::Detail);
            shown.reset(d);
        } else if (dialog == u"print") {
            shown = std::make_unique<QPrintDialog>(&printer);
        } else if (dialog == u"page setup") {
            shown = std::make_unique<QPageSetupDialog>(&printer);
        } else if (dialog == u"message") {
            shown = std::make_unique<QMessageBox>(
                QMessageBox::Question, QStringLiteral("Marivelle"), QStringLiteral("Έξοδος;"),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel |
                    QMessageBox::Save | QMessageBox::Close);
        } else {
            QLineEdit line;
            delete line.createStandardContextMenu();
            QPlainTextEdit memo(QStringLiteral("κείμενο"));
            delete memo.createStandardContextMenu();
        }
        if (shown) {
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
            if (dialog == u"print") {
                QAbstractButton* options = buttonStartingWith(*shown, QStringLiteral("&Επιλογές"));
                QVERIFY(options);
                options->click();
            }
            QTest::qWait(50);
        }
        QVERIFY2(untranslated.asked().isEmpty(), qPrintable(untranslated.asked().join(u'\n')));
        if (!object.isEmpty())
            QCOMPARE(textOf(*shown, object), text);
    }
};

QTEST_MAIN(TestQtGreek)
#include "tst_qt_greek.moc"
