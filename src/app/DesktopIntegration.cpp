#include "app/DesktopIntegration.h"

#include "ui/WaitNotice.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

namespace DesktopIntegration {

QTranslator* installGreekQtStrings(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/translations/marivelle_qt_el.qm")) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/marivelle-%1.png").arg(size), QSize(size, size));
    return icon;
}

void install(QApplication& app) {
    installGreekQtStrings(app);
    QApplication::setWindowIcon(programIcon());
    WaitNotice::install();
}

} // namespace DesktopIntegration
