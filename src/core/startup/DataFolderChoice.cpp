#include "core/startup/DataFolderChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quilloa {

namespace {

QString absoluteClean(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace

DataFolder DataFolderChoice::choose(const QString& programFolder, const QString& explicitFolder,
                                    const QString& userFolder)
{
    if (!explicitFolder.isEmpty())
        return {absoluteClean(explicitFolder), DataFolder::Source::Explicit};
    const QString program = absoluteClean(programFolder);
    if (!isInstalledLayout(program) && isWritable(program))
        return {program, DataFolder::Source::ProgramFolder};
    return {absoluteClean(userFolder), DataFolder::Source::UserFolder};
}

QString DataFolderChoice::userDataFolder()
{
    // ~/.local/share/Quilloa on Linux; %LOCALAPPDATA%\Quilloa on Windows, which stays on this
    // computer instead of roaming with the profile.
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool DataFolderChoice::isWritable(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quilloa-probe-XXXXXX")));
    return probe.open();
}

bool DataFolderChoice::isInstalledLayout(const QString& programFolder)
{
    const QDir bin(absoluteClean(programFolder));
#ifdef Q_OS_WIN
    // The installer leaves its uninstaller beside the program. Program Files is not writable
    // for a user, but an administrator's account or Wine could write there all the same.
    return QFileInfo::exists(bin.filePath(QString::fromLatin1(uninstallerName())));
#endif
    if (bin.dirName() != QStringLiteral("bin"))
        return false;
    const QString entry =
        QStringLiteral("../share/applications/") + QString::fromLatin1(desktopEntryName());
    return QFileInfo::exists(bin.filePath(entry));
}

const char* DataFolderChoice::uninstallerName()
{
    return "uninstall.exe";
}

const char* DataFolderChoice::desktopEntryName()
{
    return "org.quilloa.Quilloa.desktop";
}

} // namespace quilloa
