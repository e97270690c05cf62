#include "mainwindow/OnlineHelp.h"

#include "mainwindow/ProgramResources.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace quilloa {

QString OnlineHelp::writeManual(const QString& folder)
{
    loadProgramResources();
    QFile manual(QStringLiteral(":/help/index.html"));
    if (!QDir().mkpath(folder) || !manual.open(QIODevice::ReadOnly))
        return QString();
    const QString path = QDir(folder).filePath(QStringLiteral("index.html"));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(manual.readAll()) < 0 || !out.commit())
        return QString();
    return path;
}

bool OnlineHelp::open()
{
    const QString path = writeManual(QDir::temp().filePath(QStringLiteral("quilloa-help")));
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace quilloa
