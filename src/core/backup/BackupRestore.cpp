#include "core/backup/BackupRestore.h"

#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupPair.h"
#include "core/backup/RestoreJournal.h"
#include "core/files/FileSystemKind.h"
#include "core/files/PrivateFiles.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreMessage.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/file/StoreReplacement.h"
#include "core/store/server/ServerExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace quilloa {
namespace {

BackupRestore::Outcome failed(const QString& message)
{
    return {false, message, QString()};
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Why a store could not be had for a restore, and that nothing was changed.
QString notRestored(const StoreStatus& status)
{
    return QStringLiteral("没有恢复，现在的数据没有改动：%1").arg(status.error());
}

// Saving into the backup folder fails for the folder's sake (rights, space) or for the store's.
QString savingCause(const StoreStatus& status)
{
    switch (status.fault()) {
    case StoreFault::DiskFull:
    case StoreFault::ReadOnly:
        return StoreMessage::folderCause(status);
    default:
        return status.error();
    }
}

} // namespace

BackupRestore::Outcome BackupRestore::backUpNow(const StorePaths& paths, const QDateTime& now)
{
    const QString folder =
        paths.backupFolder + QLatin1Char('/') + now.date().toString(QStringLiteral("yyyy-MM-dd"));
    const StoreStatus made = StoreCopy::makeFolder(folder);
    if (!made.ok())
        return failed(QStringLiteral("无法建立备份文件夹“%1”。%2")
                          .arg(shown(folder), StoreMessage::folderCause(made)));
    BackupCatalog::removeStaleCopies(paths);
    const BackupPair::Written written = BackupPair::write(paths, folder);
    if (!written.status.ok())
        return failed(
            QStringLiteral("备份没有完成：%1\n%2").arg(written.status.error(), written.held));
    return {true, QStringLiteral("已备份到“%1”。").arg(shown(folder)), folder};
}

// Only a folder made fresh for this copy is written, so nothing the drive held before is touched;
// a failed copy takes its folder away again.
BackupRestore::Outcome BackupRestore::backUpTo(const StorePaths& paths, const QString& target,
                                               const QDateTime& now)
{
    if (!QFileInfo(target).isDir())
        return failed(QStringLiteral("找不到文件夹“%1”（U盘可能已拔出），没有备份。请插好U盘或"
                                     "另选一个文件夹后再试。")
                          .arg(shown(target)));
    const QString folder = BackupCatalog::freshFolder(
        target + QLatin1Char('/') + now.date().toString(QStringLiteral("yyyy-MM-dd")));
    const StoreStatus made = StoreCopy::makeFolder(folder);
    if (!made.ok())
        return failed(QStringLiteral("无法在“%1”中建立备份文件夹，没有备份。%2")
                          .arg(shown(target), StoreMessage::folderCause(made)));
    const BackupPair::Written written = BackupPair::write(paths, folder);
    if (!written.status.ok()) {
        QDir(folder).removeRecursively();
        const QString cause =
            written.status.fault() == StoreFault::DiskFull
                ? QStringLiteral("U盘或磁盘已满，请换一个有空间的U盘或清理后再试。")
            : !QFileInfo(target).isDir()
                ? QStringLiteral("文件夹“%1”已不在（U盘可能已拔出），请插好后再试。")
                      .arg(shown(target))
                : written.status.error();
        return failed(QStringLiteral("备份没有完成，“%1”中没有留下这次的备份，原来的数据没有改动。"
                                     "\n%2")
                          .arg(shown(target), cause));
    }
    const BackupCopy copy = BackupCatalog::inspect(folder);
    // A drive formatted for Windows or cameras lets every account read what is on it.
    const bool open = FileSystemKind::readableByOthers(copy.archiveFile()) ||
                      FileSystemKind::readableByOthers(copy.settingsFile());
    return {true,
            QStringLiteral("已备份到“%1”：档案.dat 和 设置.dat（%2张处方），已检查完好。%3")
                .arg(shown(folder))
                .arg(copy.recordCount)
                .arg(open ? QStringLiteral("\n这个U盘不能限制别人读取其中的文件，备份里有病人的"
                                           "资料，请妥善保管U盘。")
                          : QString()),
            folder};
}

// Both stores are locked before anything is written, and the stores as they stand under those
// locks are saved and checked first; the note of RestoreJournal then lets the next start end a
// restore that was cut off between the two stores.
BackupRestore::Outcome BackupRestore::restore(const StorePaths& paths, const BackupCopy& copy,
                                              const QDateTime& now)
{
    // The data folder itself, chosen as if it were a backup, would be put over itself.
    if (QFileInfo(copy.folder).canonicalFilePath() ==
        QFileInfo(paths.dataFolder).canonicalFilePath())
        return failed(QStringLiteral("“%1”是程序正在使用的数据文件夹，不是备份，没有恢复。请选择"
                                     "备份所在的文件夹。")
                          .arg(shown(copy.folder)));
    const BackupCopy checked = BackupCatalog::inspect(copy.folder);
    if (!checked.sound)
        return failed(QStringLiteral("备份“%1”不能恢复：%2。请选择另一个备份。")
                          .arg(checked.name, checked.problem));
    StoreConnection::closeAll();
    StoreReplacement archive(paths.archiveFile, checked.archiveFile(), StoreKind::Archive);
    StoreReplacement settings(paths.settingsFile, checked.settingsFile(), StoreKind::Settings);
    for (StoreReplacement* store : {&archive, &settings}) {
        const StoreStatus locked = store->lock();
        if (!locked.ok())
            return failed(notRestored(locked));
    }
    const QString saved = BackupCatalog::freshFolder(paths.backupFolder + QLatin1Char('/') +
                                                     BackupCatalog::beforeRestoreName(now));
    const StoreStatus kept = saveCurrentStores({&archive, &settings}, saved);
    if (!kept.ok()) {
        QDir(saved).removeRecursively();
        return failed(QStringLiteral("无法把现在的数据保存到“%1”，没有恢复，现在的数据没有改动。"
                                     "\n%2")
                          .arg(shown(saved), savingCause(kept)));
    }
    const StoreStatus noted = RestoreJournal::begin(paths, checked.folder, saved);
    if (!noted.ok()) {
        // Refused before anything was written: the saved stores would only pass for a backup.
        QDir(saved).removeRecursively();
        return failed(notRestored(noted));
    }
    const StoreStatus archiveWritten = archive.commit();
    if (!archive.wroteCopy()) {
        settings.release();
        return notWritten(paths, saved, archiveWritten);
    }
    const StoreStatus settingsWritten = settings.commit();
    if (!settings.wroteCopy()) {
        // The undoing takes both locks afresh.
        settings.release();
        return undo(paths, saved, checked, settingsWritten);
    }
    (void)RestoreJournal::end(paths);
    StoreConnection::closeAll();
    return {true,
            QStringLiteral("已恢复“%1”的备份（%2张处方）。恢复前的数据保存在“%3”。")
                .arg(checked.name)
                .arg(checked.recordCount)
                .arg(shown(saved)),
            saved};
}

// A damaged current store is saved as it is: it may still hold what the backup does not.
StoreStatus BackupRestore::saveCurrentStores(std::initializer_list<StoreReplacement*> stores,
                                             const QString& folder)
{
    const StoreStatus made = StoreCopy::makeFolder(folder);
    if (!made.ok())
        return made;
    for (StoreReplacement* store : stores) {
        const StoreStatus saved =
            store->saveTo(folder + QLatin1Char('/') + QFileInfo(store->store()).fileName());
        if (!saved.ok())
            return saved;
    }
    // Both were saved under the stores' locks: a pair made together.
    (void)BackupPair::note(folder);
    return StoreStatus::success();
}

// Nothing was written: both stores are as they were, and the next start must leave them so.
BackupRestore::Outcome BackupRestore::notWritten(const StorePaths& paths, const QString& saved,
                                                 const StoreStatus& failure)
{
    StoreConnection::closeAll();
    if (RestoreJournal::end(paths))
        return failed(
            QStringLiteral("恢复没有完成，现在的数据没有改动（两个数据文件都还是恢复前的）。"
                           "\n%1")
                .arg(failure.error()));
    // A note that cannot be removed would have the next start finish the restore.
    const StoreStatus marked = RestoreJournal::markUndo(paths);
    if (marked.ok())
        return failed(
            QStringLiteral("恢复没有完成，现在的数据没有改动（两个数据文件都还是恢复前的）。"
                           "\n%1\n下次启动时程序会再按“%2”中的副本确认一遍，不会恢复备份。")
                .arg(failure.error(), shown(saved)));
    return failed(
        QStringLiteral("恢复没有完成，现在的数据没有改动，但程序没能删去记号文件“%1”：%2\n"
                       "请在下次启动本程序之前删去它，否则启动时会接着恢复备份。")
            .arg(shown(RestoreJournal::notePathOf(paths)), marked.error()));
}

// The archive already holds the copy when the settings could not be written: it is put back as
// it was, so the stores never come from two different days. When even that fails, the
// next start puts them back, and never finishes the restore the user was told had failed.
BackupRestore::Outcome BackupRestore::undo(const StorePaths& paths, const QString& saved,
                                           const BackupCopy& copy, const StoreStatus& failure)
{
    // The settings were never changed: only the archive goes back.
    StoreConnection::closeAll();
    StoreReplacement archive(paths.archiveFile, saved + QStringLiteral("/档案.dat"),
                             StoreKind::Archive);
    StoreStatus undone = archive.lock();
    if (undone.ok())
        undone = archive.commit();
    if (archive.wroteCopy())
        undone = StoreStatus::success();
    StoreConnection::closeAll();
    if (undone.ok() && RestoreJournal::end(paths))
        return failed(QStringLiteral("恢复没有完成，现在的数据没有改动（已按“%1”中的副本放回）。"
                                     "\n%2")
                          .arg(shown(saved), failure.error()));
    const StoreStatus marked = RestoreJournal::markUndo(paths);
    const QString next = marked.ok()
                             ? QStringLiteral("下次启动时程序会先把它们放回，不会再恢复备份。")
                             : QStringLiteral("程序也没能记下这一点（%1），请在下次启动前把这两个"
                                              "文件复制回“%2”。")
                                   .arg(marked.error(), shown(paths.dataFolder));
    if (undone.ok())
        return failed(QStringLiteral("恢复没有完成，现在的数据没有改动（已按“%1”中的副本放回）。"
                                     "\n%2")
                          .arg(shown(saved), failure.error()));
    return failed(QStringLiteral("恢复没有完成：档案.dat 现在是备份“%1”中的，设置.dat 还是恢复前的"
                                 "（%2）。\n也没能放回原来的档案.dat：%3\n原来的两个数据文件保存在"
                                 "“%4”；%5")
                      .arg(copy.name, failure.error(), undone.error(), shown(saved), next));
}

BackupRestore::Outcome BackupRestore::backUpNow(const BackupSource& source)
{
    const QDateTime now = source.now();
    const StoreConnection server = source.storeInUse();
    if (!server.isServer())
        return backUpNow(source.paths(), now);
    const QString folder = source.paths().backupFolder + QLatin1Char('/') +
                           now.date().toString(QStringLiteral("yyyy-MM-dd"));
    const StoreStatus made = StoreCopy::makeFolder(folder);
    if (!made.ok())
        return failed(QStringLiteral("无法建立备份文件夹“%1”。%2")
                          .arg(shown(folder), StoreMessage::folderCause(made)));
    const StoreStatus written =
        ServerExport::write(server,
                            {{StoreKind::Settings, folder + QStringLiteral("/设置.dat")},
                             {StoreKind::Archive, folder + QStringLiteral("/档案.dat")}},
                            now.date());
    if (!written.ok())
        return failed(
            QStringLiteral("备份没有完成：%1\n这一天已有的备份保持不变。").arg(written.error()));
    // A note of an earlier pair in the folder would otherwise call this one mixed.
    (void)BackupPair::note(folder);
    return {true,
            QStringLiteral("已把%1上的数据备份到“%2”。")
                .arg(server.description(), QDir::toNativeSeparators(folder)),
            folder};
}

BackupRestore::Outcome BackupRestore::restore(const BackupSource& source, const BackupCopy& copy)
{
    const StoreConnection server = source.storeInUse();
    if (!server.isServer())
        return restore(source.paths(), copy, source.now());
    return failed(
        QStringLiteral(
            "数据存放在%1上，几台电脑共用，不能在一台电脑上把备份放回服务器，没有恢复。\n"
            "备份“%2”是普通的数据文件，可以照常查看。要用它代替服务器上的数据，请由管理员新建"
            "一个空数据库，把这份备份中的 档案.dat 和 设置.dat 放进某个文件夹下的“数据库”"
            "文件夹，运行 quilloa --data 该文件夹 --copy-stores-to 新数据库，再让各台电脑改用"
            "新数据库。")
            .arg(server.description(), copy.name));
}

} // namespace quilloa
