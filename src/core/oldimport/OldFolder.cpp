#include "core/oldimport/OldFolder.h"

#include <QDir>
#include <QFileInfo>

namespace quilloa {

namespace {

const QString kArchiveName = QStringLiteral("档案.dat");
const QString kSettingsName = QStringLiteral("设置.dat");

QString fileIn(const QString& folder, const QString& name)
{
    const QFileInfo file(QDir(folder).filePath(name));
    return file.isFile() ? file.absoluteFilePath() : QString();
}

OldFolder filesIn(const QString& folder)
{
    return {fileIn(folder, kArchiveName), fileIn(folder, kSettingsName)};
}

} // namespace

OldFolder OldFolder::locate(const QString& path)
{
    const QFileInfo given(path);
    const QString folder = given.isFile() ? given.absolutePath() : given.absoluteFilePath();
    const OldFolder inData = filesIn(QDir(folder).filePath(QStringLiteral("数据库")));
    if (!inData.isEmpty())
        return inData;
    return filesIn(folder);
}

} // namespace quilloa
