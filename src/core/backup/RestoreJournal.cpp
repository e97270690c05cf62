#include "core/backup/RestoreJournal.h"

#include "core/backup/BackupCatalog.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreCopy.h"
#include "core/store/StoreReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void RestoreJournal::end(const StorePaths& paths)
{
    QFile::remove(notePath(paths));
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
            end(paths);
            return heading + QStringLiteral("\n这次启动时已把恢复做完：现在用的是备份“%1”的数据"
                                            "（%2张处方）。恢复前的数据保存在“%3”。")
                                 .arg(copyName)
                                 .arg(copy.recordCount)
                                 .arg(saved);
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
        end(paths);
        return heading + QStringLiteral("\n备份“%1”没能放回（%2），这次启动时已退回到恢复前的"
                                        "数据（取自“%3”）。")
                             .arg(copyName, why, saved);
    }
    return heading + QStringLiteral("\n这次启动时既没能把恢复做完，也没能退回到恢复前的数据：%1\n"
                                    "恢复前的数据保存在“%2”。请排除上面的问题后重新启动本程序。")
                         .arg(undone.error(), saved);
}

} // namespace quilloa
