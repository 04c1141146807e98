#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// Saving a file the person names: the question goes through Modal like every dialog, and
// the file is written whole or not at all.
namespace SaveFile {

// Asks where to save, proposing a file in a folder; empty when the person cancels. The
// filter is like "PDF (*.pdf)"; a name typed without the suffix gets it.
QString ask(QWidget* parent, const QString& title, const QString& filter, const QString& suffix,
            const QString& folder, const QString& proposedName);

// A file name made of free text (a caption, a date, a period): characters that file systems
// refuse become "-", so "Έξοδα 1/3/2024" gives "Έξοδα 1-3-2024".
QString nameFrom(const QString& text);

// The data folder, where the person's files are proposed; the home folder when unknown.
QString dataFolder();

// Replaces the file with the bytes; a failure leaves any old file as it was and throws
// with a Greek message.
void write(const QString& path, const QByteArray& bytes);

} // namespace SaveFile
