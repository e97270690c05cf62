#include "core/backup/BackupCopy.h"

namespace quilloa {

QString BackupCopy::archiveFile() const
{
    return folder + QStringLiteral("/档案.dat");
}

QString BackupCopy::settingsFile() const
{
    return folder + QStringLiteral("/设置.dat");
}

} // namespace quilloa
