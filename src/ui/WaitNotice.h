#pragma once

#include <QString>

class QWidget;

// While a connection waits for another program's lock on the data file, the person sees the
// wait cursor and a small window saying so, repainted as the wait goes on; the windows keep
// painting, and no key or click reaches the screens until the wait is over.
namespace WaitNotice {

// Makes every connection's wait show the notice; once at program start.
void install();

// The notice's first line.
QString line();

// The notice's window while it is shown, else null.
QWidget* window();

// Waits shorter than this are not shown: most are another copy's commit of a few milliseconds.
inline constexpr int kShowAfterMs = 300;

} // namespace WaitNotice
