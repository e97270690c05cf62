#include "core/backup/BackupRestore.h"

#include "core/backup/BackupCatalog.h"
#include "core/backup/ServerExport.h"
#include "core/startup/AppContext.h"
#include "core/store/PrivateFiles.h"
#include "core/store/StoreCopy.h"
#include "core/store/StoreFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace quilloa {
namespace {

const QString kStaged = QStringLiteral(".restore");

bool renameOver(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return !error;
}

BackupRestore::Outcome failed(const QString& message)
{
    return {false, message, QString()};
}

} // namespace

BackupRestore::Outcome BackupRestore::backUpNow(const StorePaths& paths, const QDateTime& now)
{
    const QString folder =
        paths.backupFolder + QLatin1Char('/') + now.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (!PrivateFiles::makeFolder(folder))
        return failed(QStringLiteral("无法建立备份文件夹“%1”。请确认程序文件夹可以写入后再试。")
                          .arg(QDir::toNativeSeparators(folder)));
    const bool archive =
        StoreCopy::copyChecked(paths.archiveFile, folder + QStringLiteral("/档案.dat"),
                               StoreKind::Archive)
            .ok();
    const bool settings =
        StoreCopy::copyChecked(paths.settingsFile, folder + QStringLiteral("/设置.dat"),
                               StoreKind::Settings)
            .ok();
    if (!archive || !settings)
        return failed(QStringLiteral("备份没有完成：%1无法完整复制或复制后检查不通过。"
                                     "请确认磁盘还有空间、数据文件没有损坏后再试。")
                          .arg(!archive ? QStringLiteral("档案.dat") : QStringLiteral("设置.dat")));
    return {true, QStringLiteral("已备份到“%1”。").arg(QDir::toNativeSeparators(folder)), folder};
}

// A damaged current store is saved as it is: it may still hold what the backup
// does not.
bool BackupRestore::saveCurrentStores(const StorePaths& paths, const QString& folder)
{
    if (!PrivateFiles::makeFolder(folder))
        return false;
    for (const QString& store : {paths.archiveFile, paths.settingsFile}) {
        if (!QFileInfo::exists(store))
            continue;
        if (!PrivateFiles::copy(store, folder + QLatin1Char('/') + QFileInfo(store).fileName()))
            return false;
    }
    return true;
}

BackupRestore::Outcome BackupRestore::restore(const StorePaths& paths, const BackupCopy& copy,
                                              const QDateTime& now)
{
    const BackupCopy checked = BackupCatalog::inspect(copy.folder);
    if (!checked.sound)
        return failed(QStringLiteral("备份“%1”不能恢复：%2。请选择另一个备份。")
                          .arg(checked.name, checked.problem));
    StoreFile::closeAll();
    const QString saved =
        paths.backupFolder + QLatin1Char('/') + BackupCatalog::beforeRestoreName(now);
    if (!saveCurrentStores(paths, saved))
        return failed(
            QStringLiteral("无法把现在的数据保存到“%1”，没有恢复。请确认磁盘还有空间后再试。")
                .arg(QDir::toNativeSeparators(saved)));
    const QString stagedArchive = paths.archiveFile + kStaged;
    const QString stagedSettings = paths.settingsFile + kStaged;
    const bool staged =
        StoreCopy::copyChecked(checked.archiveFile(), stagedArchive, StoreKind::Archive).ok() &&
        StoreCopy::copyChecked(checked.settingsFile(), stagedSettings, StoreKind::Settings).ok();
    bool archivePut = staged && renameOver(stagedArchive, paths.archiveFile);
    if (archivePut && !renameOver(stagedSettings, paths.settingsFile)) {
        // Never leave the archive of one day beside the settings of another.
        const QString before = saved + QStringLiteral("/档案.dat");
        QFile::remove(paths.archiveFile);
        PrivateFiles::copy(before, paths.archiveFile);
        archivePut = false;
    }
    if (!archivePut) {
        QFile::remove(stagedArchive);
        QFile::remove(stagedSettings);
        return failed(QStringLiteral("恢复没有完成，现在的数据已另存在“%1”。请确认数据库文件夹可以"
                                     "写入后再试。")
                          .arg(QDir::toNativeSeparators(saved)));
    }
    StoreFile::closeAll();
    return {true,
            QStringLiteral("已恢复“%1”的备份（%2张处方）。恢复前的数据保存在“%3”。")
                .arg(checked.name)
                .arg(checked.recordCount)
                .arg(QDir::toNativeSeparators(saved)),
            saved};
}

BackupRestore::Outcome BackupRestore::backUpNow(const AppContext& context)
{
    const QDateTime now = context.clock().now();
    if (!context.location().isServer())
        return backUpNow(context.paths(), now);
    const QString folder = context.paths().backupFolder + QLatin1Char('/') +
                           now.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (!PrivateFiles::makeFolder(folder))
        return failed(QStringLiteral("无法建立备份文件夹“%1”。请确认程序文件夹可以写入后再试。")
                          .arg(QDir::toNativeSeparators(folder)));
    const StoreStatus written = ServerExport::write(
        context.archive().file(), {{StoreKind::Settings, folder + QStringLiteral("/设置.dat")},
                                   {StoreKind::Archive, folder + QStringLiteral("/档案.dat")}});
    if (!written.ok())
        return failed(
            QStringLiteral("备份没有完成：%1\n这一天已有的备份保持不变。").arg(written.error()));
    return {true,
            QStringLiteral("已把%1上的数据备份到“%2”。")
                .arg(context.storeDescription(), QDir::toNativeSeparators(folder)),
            folder};
}

BackupRestore::Outcome BackupRestore::restore(const AppContext& context, const BackupCopy& copy)
{
    if (!context.location().isServer())
        return restore(context.paths(), copy, context.clock().now());
    return failed(
        QStringLiteral(
            "数据存放在%1上，几台电脑共用，不能在一台电脑上把备份放回服务器，没有恢复。\n"
            "备份“%2”是普通的数据文件，可以照常查看。要用它代替服务器上的数据，请由管理员新建"
            "一个空数据库，把这份备份中的 档案.dat 和 设置.dat 放进某个文件夹下的“数据库”"
            "文件夹，运行 quilloa --data 该文件夹 --copy-stores-to 新数据库，再让各台电脑改用"
            "新数据库。")
            .arg(context.storeDescription(), copy.name));
}

} // namespace quilloa
