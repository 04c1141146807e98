#pragma once

class QApplication;
class QIcon;
class QTranslator;

// What the program brings to the desktop besides its screens: Qt's own dialogs (printing,
// page set-up, file names, message box buttons, edit menus) in Greek, its icon, and the
// notice shown while it waits for another program's lock on the data file.
namespace DesktopIntegration {

// Loads the Greek strings of Qt's dialogs, built into the program; null when they are missing.
QTranslator* installGreekQtStrings(QApplication& app);

QIcon programIcon();

// All of the above, at program entry.
void install(QApplication& app);

} // namespace DesktopIntegration
