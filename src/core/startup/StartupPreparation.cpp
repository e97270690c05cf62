#include "core/startup/StartupPreparation.h"

#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupPair.h"
#include "core/backup/RestoreJournal.h"
#include "core/backup/ServerBackup.h"
#include "core/files/LockHolder.h"
#include "core/files/PrivateFiles.h"
#include "core/startup/AppContext.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/file/StoreDamage.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/ServerClock.h"
#include "core/store/server/ServerSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

namespace quilloa {
namespace {

constexpr int kCopiesNamed = 3;

// The cause, as the system reported it, in a few words after the file's name.
QString causeOf(const StoreStatus& failure)
{
    if (QFileInfo(failure.path()).size() == 0)
        return QStringLiteral("是空文件（0 字节）");
    switch (failure.fault()) {
    case StoreFault::Unreadable:
        return QStringLiteral("没有读取权限");
    case StoreFault::Busy: {
        const QString holder = LockHolder::of(failure.path());
        return holder.isEmpty() ? QStringLiteral("被其他程序占用")
                                : QStringLiteral("被%1占用").arg(holder);
    }
    case StoreFault::Damaged:
        return QStringLiteral("已损坏");
    default:
        return QStringLiteral("读不出来（磁盘读写出错）");
    }
}

QString remedyOf(const StoreStatus& failure)
{
    switch (failure.fault()) {
    case StoreFault::Unreadable:
        return QStringLiteral(
            "\n请让当前用户可以读写这个文件（例如 chmod 600），然后重新启动程序。");
    case StoreFault::Busy:
        return QStringLiteral("\n请关闭占用它的程序，然后重新启动本程序。");
    default:
        return QString();
    }
}

void noteFailedCreation(const StoreStatus& created, QStringList& notices)
{
    if (!created.ok())
        notices << QStringLiteral("数据文件没有建成：%1").arg(created.error());
}

} // namespace

StartupReport StartupPreparation::run(const StorePaths& paths, const Clock& clock, Backup backup)
{
    StartupReport report;
    if (!PrivateFiles::makeFolder(paths.dataFolder))
        report.notices << QStringLiteral("无法建立数据文件夹“%1”。请检查它所在文件夹的权限。")
                              .arg(paths.dataFolder);
    keepPrivate(paths, report.notices);
    // Before anything reads a store: a restore cut off between the two stores is ended first.
    const QString resumed = RestoreJournal::resume(paths);
    if (!resumed.isEmpty())
        report.notices << resumed;
    // An existing file is never written over, even when it is damaged.
    if (!QFileInfo::exists(paths.archiveFile)) {
        const StoreStatus created = StoreSchema::createArchiveStore(paths.archiveFile);
        report.archiveCreated = created.ok();
        noteFailedCreation(created, report.notices);
    }
    if (!QFileInfo::exists(paths.settingsFile)) {
        const StoreStatus created = StoreSchema::createSettingsStore(paths.settingsFile, true);
        report.settingsCreated = created.ok();
        noteFailedCreation(created, report.notices);
    }

    // A store that cannot be read shows only as empty lists and searches that find nothing:
    // each is named at once instead, with its cause and its dated copies.
    QStringList unusable;
    const std::pair<QString, StoreKind> stores[] = {{paths.archiveFile, StoreKind::Archive},
                                                    {paths.settingsFile, StoreKind::Settings}};
    for (const auto& [store, kind] : stores) {
        if (!QFileInfo::exists(store))
            continue;
        const StoreStatus probed = StoreCopy::probe(store, kind);
        if (probed.ok())
            continue;
        if (probed.fault() == StoreFault::Busy)
            StoreConnection::noteBusy(store);
        if (probed.fault() == StoreFault::Damaged)
            StoreDamage::note(store);
        unusable << store;
        report.notices << unusableStoreNotice(paths, probed);
    }

    const QDate today = clock.now().date();
    report.unusableStores = unusable;
    report.backupDue = isBackupDay(today) && backup == Backup::Later;
    if (isBackupDay(today) && backup == Backup::Now)
        report.backupTaken = takeBackup(paths, today, &report.notices, unusable);
    readLogin(paths, report);
    report.notices.removeDuplicates();
    return report;
}

StartupReport StartupPreparation::run(const AppContext& context, Backup backup)
{
    if (!context.location().isServer())
        return run(context.paths(), context.clock(), backup);
    StartupReport report;
    // A copy: the store the context hands out is itself a temporary.
    const StoreConnection server = context.archive().file();
    const StoreResult<bool> created = ServerSchema::ensure(server);
    if (!created.ok()) {
        // A database the program cannot use (down, not UTF-8, tables missing) keeps the program
        // closed like an unreadable login, and the start-up message names the real cause.
        report.loginRead = created;
        return report;
    }
    report.archiveCreated = report.settingsCreated = created.value();
    keepPrivate(context.paths(), report.notices);
    const QDate today = context.clock().now().date();
    report.backupDue = isBackupDay(today) && backup == Backup::Later;
    if (isBackupDay(today) && backup == Backup::Now)
        report.backupTaken = ServerBackup::take(server, context.paths(), today, &report.notices);
    const StoreResult<SettingsRecord> settings = context.settings().settings();
    if (!settings.ok())
        report.notices << settings.error();
    readLogin(context, report);
    report.notices.removeDuplicates();
    // Told first, before anything is saved with a wrong date.
    if (const QString clock =
            report.loginRead.ok() ? ServerClock::check(server, context.clock().now()) : QString();
        !clock.isEmpty())
        report.notices.prepend(clock);
    return report;
}

std::optional<BackgroundWork::Work> StartupPreparation::backupWork(const AppContext& context,
                                                                   const StartupReport& report)
{
    if (!report.backupDue)
        return std::nullopt;
    const StorePaths paths = context.paths();
    const QDate today = context.clock().now().date();
    if (context.location().isServer()) {
        // A value only: the export opens a server connection of its own on the work's thread.
        const StoreConnection server = context.archive().file();
        return dayWork(
            paths, today,
            [server, paths, today](QStringList* notices) {
                ServerBackup::take(server, paths, today, notices);
            },
            DayCopies::Once);
    }
    const QStringList unusable = report.unusableStores;
    return dayWork(
        paths, today,
        [paths, today, unusable](QStringList* notices) {
            takeBackup(paths, today, notices, unusable);
        },
        DayCopies::EveryStart);
}

BackgroundWork::Work StartupPreparation::dayWork(const StorePaths& paths, const QDate& today,
                                                 const std::function<void(QStringList*)>& take,
                                                 DayCopies copies)
{
    return [paths, today, take, copies](const BackgroundWork::StepTeller& step) {
        QStringList notices;
        const QString day = today.toString(QStringLiteral("yyyy-MM-dd"));
        // Another start of the program copying now, or done with today's copies, has them. A
        // lock that cannot be made at all (the stores on a server, the data folder not there)
        // holds nothing up: each copy is written aside and checked before it is put in place.
        PrivateFiles::makeFolder(paths.dataFolder);
        QLockFile copying(paths.dataFolder + QStringLiteral("/.backup-") + day +
                          QStringLiteral(".lock"));
        if (!copying.tryLock(0) && copying.error() == QLockFile::LockFailedError)
            return notices;
        const QString folder = paths.backupFolder + QLatin1Char('/') + day;
        if (copies == DayCopies::Once &&
            QFileInfo::exists(folder + QLatin1Char('/') +
                              QFileInfo(paths.archiveFile).fileName()) &&
            QFileInfo::exists(folder + QLatin1Char('/') + QFileInfo(paths.settingsFile).fileName()))
            return notices;
        // Nothing saved since the day's copies were made: nothing to copy, nothing to show.
        if (copies == DayCopies::EveryStart && BackupPair::current(paths, folder))
            return notices;
        step(QStringLiteral("正在备份今天的数据库……"));
        take(&notices);
        return notices;
    };
}

void StartupPreparation::readLogin(const AppContext& context, StartupReport& report)
{
    if (!context.location().isServer()) {
        readLogin(context.paths(), report);
        return;
    }
    report.loginPassword.clear();
    report.loginRead = StoreStatus::success();
    const StoreResult<QString> password = context.archive().loginPassword();
    if (password.ok())
        report.loginPassword = password.value();
    else
        report.loginRead = password;
}

void StartupPreparation::readLogin(const StorePaths& paths, StartupReport& report)
{
    report.loginPassword.clear();
    report.loginRead = StoreStatus::success();
    if (!QFileInfo::exists(paths.archiveFile))
        return;
    const StoreResult<QString> password = ArchiveStore(paths.archiveFile).loginPassword();
    if (password.ok())
        report.loginPassword = password.value();
    else
        report.loginRead = password;
}

void StartupPreparation::keepPrivate(const StorePaths& paths, QStringList& notices)
{
    const QString journal = QStringLiteral("-journal");
    const QStringList open = PrivateFiles::narrowAll(
        {paths.dataFolder, paths.backupFolder, paths.archiveFile, paths.archiveFile + journal,
         paths.settingsFile, paths.settingsFile + journal});
    if (!open.isEmpty())
        notices << QStringLiteral("以下文件或文件夹其他用户也能读取，程序无法收回他们的权限：\n"
                                  "%1\n请让文件的所有者运行 chmod go-rwx 收回。")
                       .arg(open.join(QLatin1Char('\n')));
}

bool StartupPreparation::isBackupDay(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")).endsWith(QLatin1Char('0'));
}

bool StartupPreparation::takeBackup(const StorePaths& paths, const QDate& date,
                                    QStringList* notices, const QStringList& unusable)
{
    // Already named with its cause: a copy would only fail again, after another wait. The other
    // store alone would make a pair of two different moments.
    if (unusable.contains(paths.archiveFile) || unusable.contains(paths.settingsFile))
        return false;
    const QString folder = BackupCatalog::makeDayFolder(paths, date, notices);
    if (folder.isEmpty())
        return false;
    // A later start of the day copies what was saved since; unchanged stores are copied once.
    if (BackupPair::current(paths, folder))
        return true;
    const BackupPair::Written written = BackupPair::write(paths, folder);
    if (written.status.ok())
        return true;
    if (!notices)
        return false;
    if (written.status.fault() == StoreFault::Damaged)
        *notices << unusableStoreNotice(paths, written.status);
    else
        *notices << QStringLiteral("今天没有备份“%1”：%2\n%3")
                        .arg(QFileInfo(written.status.path()).fileName(), written.status.error(),
                             written.held);
    return false;
}

QStringList StartupPreparation::datedCopies(const StorePaths& paths, const QString& fileName)
{
    QStringList days = QDir(paths.backupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(days.begin(), days.end(), std::greater<>());
    QStringList copies;
    for (const QString& day : days) {
        const QString copy =
            paths.backupFolder + QLatin1Char('/') + day + QLatin1Char('/') + fileName;
        if (QFileInfo::exists(copy))
            copies << copy;
    }
    return copies;
}

QString StartupPreparation::unusableStoreNotice(const StorePaths& paths, const StoreStatus& failure)
{
    // Nothing is wrong with the file itself: its dated copies would not help.
    if (failure.fault() == StoreFault::TooNew)
        return failure.error();
    const QString fileName = QFileInfo(failure.path()).fileName();
    QString notice = QStringLiteral("数据文件“%1”%2，不能使用（%3）。程序没有改动它。")
                         .arg(fileName, causeOf(failure), failure.path());
    const QStringList copies = datedCopies(paths, fileName);
    if (copies.isEmpty()) {
        notice += QStringLiteral("\n备份文件夹“%1”中还没有它的备份。").arg(paths.backupFolder);
        return notice + remedyOf(failure);
    }
    notice += QStringLiteral("\n按日期存放的备份在“%1”中，最近的几份：").arg(paths.backupFolder);
    for (const QString& copy : copies.mid(0, kCopiesNamed))
        notice += QStringLiteral("\n  %1").arg(copy);
    return notice + remedyOf(failure) +
           QStringLiteral("\n文件坏了时，请关闭程序，把其中一份复制到“%1”替换它后再启动。")
               .arg(QFileInfo(failure.path()).absolutePath());
}

} // namespace quilloa
