#include "core/startup/DataFolder.h"

#include <QDir>

namespace quilloa {

QString DataFolder::description() const
{
    const QString where = QDir::toNativeSeparators(path);
    switch (source) {
    case Source::Explicit:
        return QStringLiteral("数据文件夹（--data 指定）：%1").arg(where);
    case Source::UserFolder:
        return QStringLiteral("数据文件夹（用户数据文件夹）：%1").arg(where);
    case Source::ProgramFolder:
        break;
    }
    return QStringLiteral("数据文件夹（程序所在文件夹）：%1").arg(where);
}

} // namespace quilloa
