#include "core/exchange/FileWriteStatus.h"

#include "core/files/SiblingTempFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace quilloa {

FileWriteStatus FileWriteStatus::replaceFile(const QString& path, const QByteArray& bytes)
{
    SiblingTempFile file(path);
    if (!file.isValid())
        return failure(cannotCreate(path));
    const int written = file.write(bytes);
    if (written != 0)
        return failure(cannotWrite(path, written));
    const int committed = file.commit();
    if (committed != 0)
        return failure(cannotReplace(path, committed));
    return success();
}

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

namespace {

// The cause in a few words and what to do, or empty when the system named none we know.
QString causeOf(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满。请清理出磁盘空间，或换一个磁盘再试。");
    case EIO:
        return QStringLiteral("磁盘读写出错。请检查磁盘，或换一个磁盘再试。");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("当前用户不能写入这里（或磁盘是只读的）。请换一个文件夹再试。");
    default:
        return QString();
    }
}

} // namespace

QString FileWriteStatus::cannotWrite(const QString& path, int systemError)
{
    const QString cause = causeOf(systemError);
    if (cause.isEmpty())
        return cannotWrite(path);
    return QStringLiteral("写入文件“%1”时出错，文件没有保存，原有的同名文件保持不变：%2")
        .arg(QDir::toNativeSeparators(path), cause);
}

QString FileWriteStatus::cannotReplace(const QString& path, int systemError)
{
    const QString cause = causeOf(systemError);
    if (cause.isEmpty())
        return cannotReplace(path);
    return QStringLiteral("无法保存为“%1”，原有的同名文件保持不变：%2")
        .arg(QDir::toNativeSeparators(path), cause);
}

} // namespace quilloa
