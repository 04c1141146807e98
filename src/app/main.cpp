#include "data/Connection.h"
#include "data/Global.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marivelle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marivelle"));

    QTranslator qtGreek;
    if (qtGreek.load(QStringLiteral("qtbase_el"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGreek);

    Global::AppDirectory = QDir::currentPath();
    Global::DatabasePassword = QStringLiteral("KT40617LZQ");
    Global::ConnectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") +
        Global::AppDirectory + QStringLiteral("/data.mdb") +
        QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=") +
        Global::DatabasePassword;

    // Without its data file the program cannot do anything: end quietly.
    try {
        Connection probe;
        probe.setUp(Global::ConnectionString);
        probe.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "marivelle: %s\n", e.what());
        return 1;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Marivelle"));
    auto* label = new QLabel(QStringLiteral("Marivelle"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
