#include "core/backup/BackupCatalog.h"

#include "core/backup/BackupPair.h"
#include "core/backup/ReadOnlyStore.h"
#include "core/files/PrivateFiles.h"
#include "core/store/StoreMessage.h"
#include "core/store/file/StoreCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>

namespace quilloa {
namespace {

constexpr int kDateLength = 10;

QDate dateOfName(const QString& name)
{
    QString rest = name;
    if (rest.startsWith(BackupCatalog::beforeRestorePrefix()))
        rest = rest.mid(BackupCatalog::beforeRestorePrefix().size());
    return QDate::fromString(rest.left(kDateLength), QStringLiteral("yyyy-MM-dd"));
}

// Count and latest visit of an archive that passed its check.
bool readArchive(BackupCopy& copy)
{
    ReadOnlyStore store(copy.archiveFile());
    QSqlQuery query(store.database());
    if (!store.isOpen() ||
        !query.exec(QStringLiteral("SELECT COUNT(*), MAX([日期]) FROM [档案]")) || !query.next())
        return false;
    copy.recordCount = query.value(0).toLongLong();
    copy.lastVisitDate = query.value(1).toString();
    return true;
}

bool hasSettingsRecord(const QString& path)
{
    ReadOnlyStore store(path);
    QSqlQuery query(store.database());
    return store.isOpen() && query.exec(QStringLiteral("SELECT COUNT(*) FROM [设置]")) &&
           query.next() && query.value(0).toLongLong() > 0;
}

// A copy of a newer program is not damaged, but this one must not put it back.
QString problemOf(const StoreStatus& checked, const QString& file)
{
    if (checked.fault() == StoreFault::TooNew)
        return StoreMessage::newerVersion(QStringLiteral("“%1”").arg(file), checked) +
               QStringLiteral("，请安装新版本的程序后再恢复它");
    return file + QStringLiteral("已损坏");
}

} // namespace

BackupCopy BackupCatalog::inspect(const QString& folder)
{
    BackupCopy copy;
    copy.folder = folder;
    copy.name = QFileInfo(folder).fileName();
    copy.date = dateOfName(copy.name);
    if (!QFileInfo(copy.archiveFile()).isFile() || !QFileInfo(copy.settingsFile()).isFile()) {
        copy.problem = QStringLiteral("缺少档案.dat或设置.dat");
        return copy;
    }
    const StoreStatus archive = StoreCopy::check(copy.archiveFile(), StoreKind::Archive);
    if (!archive.ok() || !readArchive(copy)) {
        copy.problem = problemOf(archive, QStringLiteral("档案.dat"));
        return copy;
    }
    const StoreStatus settings = StoreCopy::check(copy.settingsFile(), StoreKind::Settings);
    if (!settings.ok() || !hasSettingsRecord(copy.settingsFile())) {
        copy.problem = problemOf(settings, QStringLiteral("设置.dat"));
        return copy;
    }
    // Each file may be sound and still be of another day than the other.
    if (!BackupPair::madeTogether(folder)) {
        copy.problem = QStringLiteral("档案.dat和设置.dat不是同一次备份的");
        return copy;
    }
    copy.sound = true;
    return copy;
}

QList<BackupCopy> BackupCatalog::list(const StorePaths& paths)
{
    return listIn(paths.backupFolder);
}

QList<BackupCopy> BackupCatalog::listIn(const QString& chosen)
{
    if (QFileInfo(chosen + QStringLiteral("/档案.dat")).isFile())
        return {inspect(chosen)};
    QList<BackupCopy> copies;
    const QFileInfoList folders = QDir(chosen).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        if (dateOfName(folder.fileName()).isValid())
            copies << inspect(folder.absoluteFilePath());
    }
    // Newest first; a "恢复前" folder of a day sorts after that day's own copy by
    // its time.
    std::sort(copies.begin(), copies.end(), [](const BackupCopy& a, const BackupCopy& b) {
        if (a.date != b.date)
            return a.date > b.date;
        return a.name > b.name;
    });
    return copies;
}

// A copy killed midway (the program closed by force, the computer switched off) leaves its
// temporary file in its day's folder, which may be another day's.
void BackupCatalog::removeStaleCopies(const StorePaths& paths)
{
    const QFileInfoList folders =
        QDir(paths.backupFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders)
        StoreCopy::removeStaleTemporaries(folder.absoluteFilePath());
}

// A second copy within the same second never mixes its files into the first one's.
QString BackupCatalog::freshFolder(const QString& wanted)
{
    QString folder = wanted;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = wanted + QStringLiteral("-%1").arg(n);
    return folder;
}

QString BackupCatalog::beforeRestoreName(const QDateTime& now)
{
    return beforeRestorePrefix() + now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

QString BackupCatalog::makeDayFolder(const StorePaths& paths, const QDate& date,
                                     QStringList* notices)
{
    QString folder =
        paths.backupFolder + QLatin1Char('/') + date.toString(QStringLiteral("yyyy-MM-dd"));
    const StoreStatus made = StoreCopy::makeFolder(folder);
    if (made.ok()) {
        removeStaleCopies(paths);
        return folder;
    }
    if (notices)
        *notices << QStringLiteral("今天的备份没有做成：无法建立备份文件夹“%1”。%2")
                        .arg(folder, StoreMessage::folderCause(made));
    return {};
}

} // namespace quilloa
