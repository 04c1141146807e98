#include "SheetFixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

// LibreOffice Calc, headless, opens a workbook exported from a grid and saves it in its own
// format; what it made of every cell is read back from that file. Run by make check-calc.
class CheckCalc : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ScreenFixture::begin();
        Clock::setFixedForTesting(QDate(2024, 5, 17));
        if (QStandardPaths::findExecutable("soffice").isEmpty())
            QFAIL("soffice is not installed (libreoffice-calc-nogui)");
        const QString workbook = QDir(list.db.dir()).filePath(list.exportFromMenu());
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shownTexts().join(u'\n')));
        QProcess calc;
        calc.setProcessChannelMode(QProcess::ForwardedChannels);
        // A profile of its own, so that no running office or earlier settings take part.
        calc.start("soffice",
                   {"-env:UserInstallation=" + QUrl::fromLocalFile(profile.path()).toString(),
                    "--headless", "--convert-to", "ods", "--outdir", out.path(), workbook});
        QVERIFY(calc.waitForFinished(600000));
        QCOMPARE(calc.exitCode(), 0);
        const QString ods = out.filePath(QFileInfo(workbook).completeBaseName() + ".ods");
        QVERIFY2(QFileInfo::exists(ods), qPrintable(ods));
        MV_VERIFY_NOTHROW(file = readOds(ods));
    }

    // Calc takes every cell as the workbook meant it.
    void cellsReadAsWritten_data() { addCollectionsCells(); }
    void cellsReadAsWritten() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, kind);
        QFETCH(QString, value);
        const SheetCell cell = file.at(row, column);
        QCOMPARE(cell.kind, kind);
        QCOMPARE(cell.value, value);
    }

    // The sheet's name, and the date shown day/month/year whatever Calc's own language.
    void sheetAsShown() {
        QCOMPARE(file.sheets, QStringList{"Εισπράξεις από τον συγκεκριμένο"});
        QCOMPARE(file.at(1, 2).format, "1/12/2026");
        QVERIFY2(file.at(1, 4).format.contains(QStringLiteral("€")),
                 qPrintable(file.at(1, 4).format));
        QCOMPARE(file.rows.size(), 3);
        for (const QList<SheetCell>& row : std::as_const(file.rows)) {
            QStringList shown;
            for (const SheetCell& c : row)
                shown << c.format;
            qInfo().noquote() << "Calc shows:" << shown.join(QStringLiteral(" | "));
        }
    }

private:
    CollectionsSheet list;
    QTemporaryDir profile;
    QTemporaryDir out;
    SheetFile file;
};

QTEST_MAIN(CheckCalc)
#include "check_calc.moc"
