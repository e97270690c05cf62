#include "core/backup/RestoreJournal.h"

#include "core/backup/BackupCatalog.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/file/StoreReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quilloa {

QString RestoreJournal::notePath(const StorePaths& paths)
{
    return paths.dataFolder + QStringLiteral("/恢复未完成.txt");
}

StoreStatus RestoreJournal::begin(const StorePaths& paths, const QString& copyFolder,
                                  const QString& savedFolder)
{
    return StoreCopy::writeFile(
        notePath(paths),
        (copyFolder + QLatin1Char('\n') + savedFolder + QLatin1Char('\n')).toUtf8());
}

QString RestoreJournal::undoNotePath(const StorePaths& paths)
{
    return paths.dataFolder + QStringLiteral("/恢复待退回.txt");
}

bool RestoreJournal::end(const StorePaths& paths)
{
    for (const QString& note : {notePath(paths), undoNotePath(paths)}) {
        if (QFileInfo::exists(note) && !QFile::remove(note))
            return false;
    }
    return true;
}

// A rename needs no room on the disk, which a failed restore may have run out of.
StoreStatus RestoreJournal::markUndo(const StorePaths& paths)
{
    if (std::rename(QFile::encodeName(notePath(paths)).constData(),
                    QFile::encodeName(undoNotePath(paths)).constData()) == 0)
        return StoreStatus::success();
    return StoreStatus::failure(StoreFault::Failed, notePath(paths),
                                QString::fromLocal8Bit(std::strerror(errno)));
}

QString RestoreJournal::resumeUndo(const StorePaths& paths)
{
    QFile note(undoNotePath(paths));
    if (!note.open(QIODevice::ReadOnly))
        return QString();
    const QStringList lines = QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'));
    note.close();
    const QString copyName = QFileInfo(lines.value(0)).fileName();
    const QString saved = QDir::toNativeSeparators(lines.value(1));
    const StoreStatus undone = putBoth(paths, lines.value(1));
    if (undone.ok() && end(paths))
        return QStringLiteral(
                   "上次恢复备份“%1”没有完成。这次启动时已放回恢复前的数据（取自“%2”）。")
            .arg(copyName, saved);
    return QStringLiteral("上次恢复备份“%1”没有完成，这次启动时仍没能放回恢复前的数据：%2\n"
                          "恢复前的数据保存在“%3”。请排除上面的问题后重新启动本程序。")
        .arg(copyName, undone.ok() ? QStringLiteral("记号文件删不掉") : undone.error(), saved);
}

StoreStatus RestoreJournal::putBoth(const StorePaths& paths, const QString& folder)
{
    StoreConnection::closeAll();
    StoreReplacement archive(paths.archiveFile, folder + QStringLiteral("/档案.dat"),
                             StoreKind::Archive);
    StoreReplacement settings(paths.settingsFile, folder + QStringLiteral("/设置.dat"),
                              StoreKind::Settings);
    StoreStatus status = archive.lock();
    if (status.ok())
        status = settings.lock();
    if (status.ok())
        status = archive.commit();
    if (status.ok())
        status = settings.commit();
    StoreConnection::closeAll();
    return status;
}

QString RestoreJournal::resume(const StorePaths& paths)
{
    if (QFileInfo::exists(undoNotePath(paths)))
        return resumeUndo(paths);
    QFile note(notePath(paths));
    if (!note.open(QIODevice::ReadOnly))
        return QString();
    const QStringList lines = QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'));
    note.close();
    const QString copyFolder = lines.value(0);
    const QString savedFolder = lines.value(1);
    const QString copyName = QFileInfo(copyFolder).fileName();
    const QString saved = QDir::toNativeSeparators(savedFolder);
    const QString heading =
        QStringLiteral("上次恢复备份“%1”时程序被中断，两个数据文件可能来自不同的日子。")
            .arg(copyName);
    const BackupCopy copy = BackupCatalog::inspect(copyFolder);
    QString why = copy.problem;
    if (copy.sound) {
        const StoreStatus finished = putBoth(paths, copyFolder);
        if (finished.ok()) {
            // A note that stays only has the next start put the same copy in again.
            const QString left = end(paths) ? QString()
                                            : QStringLiteral("\n记号文件“%1”没能删去。")
                                                  .arg(QDir::toNativeSeparators(notePath(paths)));
            return heading +
                   QStringLiteral("\n这次启动时已把恢复做完：现在用的是备份“%1”的数据"
                                  "（%2张处方）。恢复前的数据保存在“%3”。")
                       .arg(copyName)
                       .arg(copy.recordCount)
                       .arg(saved) +
                   left;
        }
        // Another program holding a store would keep the undoing out as well: try again later.
        if (finished.fault() == StoreFault::Busy)
            return heading + QStringLiteral("\n这次启动时没能把恢复做完：%1\n关闭那个程序后"
                                            "重新启动本程序，恢复会接着做完。")
                                 .arg(finished.error());
        why = finished.error();
    }
    const StoreStatus undone = putBoth(paths, savedFolder);
    if (undone.ok()) {
        (void)end(paths);
        return heading + QStringLiteral("\n备份“%1”没能放回（%2），这次启动时已退回到恢复前的"
                                        "数据（取自“%3”）。")
                             .arg(copyName, why, saved);
    }
    return heading + QStringLiteral("\n这次启动时既没能把恢复做完，也没能退回到恢复前的数据：%1\n"
                                    "恢复前的数据保存在“%2”。请排除上面的问题后重新启动本程序。")
                         .arg(undone.error(), saved);
}

} // namespace quilloa
