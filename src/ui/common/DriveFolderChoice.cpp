#include "ui/common/DriveFolderChoice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quilloa {

QString DriveFolderChoice::ask(QWidget* parent, const QString& caption)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder());
}

QString DriveFolderChoice::startFolder()
{
    // udisks mounts a user's drives under /media/<user> (Debian) or /run/media/<user>.
    const QString user = QDir::home().dirName();
    for (const QString& drives :
         {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user}) {
        if (QFileInfo(drives).isDir())
            return drives;
    }
    return QDir::homePath();
}

} // namespace quilloa
