#include "ui/mainwindow/OnlineHelp.h"

#include "ui/mainwindow/ProgramResources.h"

#include "core/exchange/FileWriteStatus.h"
#include "core/files/PrivateFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace quilloa {

QString OnlineHelp::writeManual(const QString& folder)
{
    loadProgramResources();
    QFile manual(QStringLiteral(":/help/index.html"));
    if (folder.isEmpty() || !PrivateFiles::makeFolder(folder) || !manual.open(QIODevice::ReadOnly))
        return QString();
    const QString path = QDir(folder).filePath(QStringLiteral("index.html"));
    if (!FileWriteStatus::replaceFile(path, manual.readAll()).ok())
        return QString();
    return path;
}

QString OnlineHelp::manualFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        return QDir(cache).filePath(QStringLiteral("help"));
    // Made with a random name and owner-only rights; kept until the program ends, as the
    // browser reads the file after open() returned.
    static QTemporaryDir own(QDir::temp().filePath(QStringLiteral("quilloa-help-XXXXXX")));
    return own.isValid() ? own.path() : QString();
}

bool OnlineHelp::open()
{
    const QString path = writeManual(manualFolder());
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace quilloa
