#include "app/DesktopIntegration.h"
#include "app/LongLivedScreens.h"
#include "app/Unit3.h"
#include "data/Connection.h"
#include "data/Global.h"
#include "data/SafetyCopy.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marivelle"));
    // The program ends only through the main window's own close, after its confirmation.
    QApplication::setQuitOnLastWindowClosed(false);

    // Month and day names, the first day of the week: Greek, whatever the system says.
    QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
    DesktopIntegration::install(app);

    TForm3 mainWindow;
    if (mainWindow.isEnding()) {
        if (mainWindow.startupError().isEmpty())
            return 0;
        // One line: the store's own text follows the Greek sentence.
        std::fprintf(stderr, "marivelle: start-up failed in %s: %s\n",
                     qUtf8Printable(QDir::toNativeSeparators(QDir::currentPath())),
                     qUtf8Printable(mainWindow.startupError().replace(u'\r', u' ')));
        return 1;
    }

    const LongLivedScreens screens;
    const int result = QApplication::exec();
    // A normal end: the day's safety copy. A failure is told once and the program ends anyway.
    const QString failure =
        SafetyCopy::writeDaily(Connection::dataSourceOf(Global::ConnectionString), Clock::today());
    if (!failure.isEmpty())
        Messages::error(nullptr, failure);
    return result;
}
