#include "core/exchange/FileWriteStatus.h"

#include <QDir>
#include <QFileInfo>

namespace quilloa {

QString FileWriteStatus::cannotCreate(const QString& path)
{
    return QStringLiteral("无法在文件夹“%1”中写入文件。请确认该文件夹存在并且可以写入，"
                          "或换一个文件夹再试。")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
}

QString FileWriteStatus::cannotWrite(const QString& path)
{
    return QStringLiteral("写入文件“%1”时出错，文件没有保存。请确认磁盘还有空间后再试。")
        .arg(QDir::toNativeSeparators(path));
}

QString FileWriteStatus::cannotReplace(const QString& path)
{
    return QStringLiteral("无法保存为“%1”：同名文件可能正被其他程序打开或不允许改写。"
                          "请关闭该文件或换一个文件名再试。")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace quilloa
