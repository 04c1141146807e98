#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// A one-line field's length limit that refuses, rather than cuts, text that does not fit:
// a paste from the keyboard or the edit menu, a drop, or text set by an assistive tool is
// refused whole with a message naming the field; typing one character past the limit is
// simply not taken. Qt's own limit would cut such text silently, so it is lifted.
namespace FieldLimit {

// Qt's own "no limit".
inline constexpr int kNone = 32767;

// Limits the edit to maxChars characters; a later call changes the limit. The guard is the
// edit's validator, so an edit with a validator of its own is left to that.
void set(QLineEdit* edit, int maxChars);

// The edit's limit, kNone when it has none.
int of(const QLineEdit* edit);

// Puts the limits that a screen's edits were given in its designer file under the guard.
// Text the program puts into a guarded edit from the file goes in through Showing below.
void guardChildren(QWidget* window);

// What the person is told when a field refuses text: the field by its caption.
QString refusedText(const QString& caption, int maxChars);

// While one lives, the program is showing stored text: it goes in whole, whatever its length.
class Showing {
public:
    Showing();
    ~Showing();
    Showing(const Showing&) = delete;
    Showing& operator=(const Showing&) = delete;
};

} // namespace FieldLimit
