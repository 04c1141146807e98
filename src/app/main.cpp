#include "app/Unit3.h"
#include "ui/LongLived.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marivelle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marivelle"));
    // The program ends only through the main window's own close, after its confirmation.
    QApplication::setQuitOnLastWindowClosed(false);

    QTranslator qtGreek;
    if (qtGreek.load(QStringLiteral("qtbase_el"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGreek);

    TForm3 mainWindow;
    if (mainWindow.isEnding()) {
        if (mainWindow.startupError().isEmpty())
            return 0;
        std::fprintf(stderr, "marivelle: %s\n", qUtf8Printable(mainWindow.startupError()));
        return 1;
    }

    // The screens that live as long as the program, each created once and hidden.

    const int code = QApplication::exec();
    LongLived::clear();
    return code;
}
