#include "ui/SaveFile.h"

#include "data/Global.h"
#include "data/UserError.h"
#include "ui/Seams.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QSplitter>
#include <QTreeView>

#include <stdexcept>

namespace SaveFile {

QString ask(QWidget* parent, const QString& title, const QString& filter, const QString& suffix,
            const QString& folder, const QString& proposedName) {
    QFileDialog dialog(parent, title);
    // Qt's own dialog, so that it speaks Greek on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setDirectory(folder);
    dialog.selectFile(proposedName);
    // Wide enough for the Greek names of the places and of the columns.
    dialog.resize(900, 520);
    if (auto* places = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        places->setSizes({150, 750});
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* columns = files->header();
        columns->setSectionResizeMode(QHeaderView::ResizeToContents);
        columns->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString nameFrom(const QString& text) {
    QString name;
    for (const QChar c : text) {
        const bool refused = c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
        name += refused ? u'-' : c;
    }
    name = name.simplified();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return name;
}

QString dataFolder() {
    const QString folder = Global::AppDirectory;
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw UserError(
            QStringLiteral("Το αρχείο \"%1\" δεν μπορεί να γραφτεί. Ελέγξτε ότι ο φάκελος "
                           "υπάρχει και ότι επιτρέπεται η εγγραφή σε αυτόν.")
                .arg(QDir::toNativeSeparators(path)));
}

} // namespace SaveFile
