#include "core/store/StorePaths.h"

#include <QDir>

namespace quilloa {

StorePaths::StorePaths(const QString& folder)
    : programFolder(QDir::cleanPath(QDir(folder).absolutePath())),
      dataFolder(programFolder + QStringLiteral("/数据库")),
      archiveFile(dataFolder + QStringLiteral("/档案.dat")),
      settingsFile(dataFolder + QStringLiteral("/设置.dat")),
      backupFolder(programFolder + QStringLiteral("/数据库备份"))
{
}

} // namespace quilloa
