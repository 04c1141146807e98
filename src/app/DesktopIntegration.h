#pragma once

class QApplication;
class QIcon;
class QTranslator;

// What the program brings to the desktop besides its screens: Qt's own dialogs (printing,
// page set-up, file names, message box buttons, edit menus) in Greek, and its icon.
namespace DesktopIntegration {

// Loads the Greek strings of Qt's dialogs, built into the program; null when they are missing.
QTranslator* installGreekQtStrings(QApplication& app);

QIcon programIcon();

// Both of the above, at program entry.
void install(QApplication& app);

} // namespace DesktopIntegration
