#include "startup/StartupPreparation.h"

#include "store/ArchiveStore.h"
#include "store/StoreFile.h"
#include "store/StoreSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace quilloa {

StartupReport StartupPreparation::run(const StorePaths& paths, const Clock& clock)
{
    StartupReport report;
    QDir().mkpath(paths.dataFolder);
    // An existing file is never written over, even when it is damaged.
    if (!QFileInfo::exists(paths.archiveFile))
        report.archiveCreated = StoreSchema::createArchiveStore(paths.archiveFile).ok();
    if (!QFileInfo::exists(paths.settingsFile))
        report.settingsCreated = StoreSchema::createSettingsStore(paths.settingsFile, true).ok();

    const QDate today = clock.now().date();
    if (isBackupDay(today))
        report.backupTaken = takeBackup(paths, today);

    readLogin(paths, report);
    return report;
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

bool StartupPreparation::isBackupDay(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")).endsWith(QLatin1Char('0'));
}

bool StartupPreparation::takeBackup(const StorePaths& paths, const QDate& date)
{
    const QString folder =
        paths.backupFolder + QLatin1Char('/') + date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!QDir().mkpath(folder))
        return false;
    const bool settingsCopied = copyStore(paths.settingsFile, folder + QStringLiteral("/设置.dat"));
    const bool archiveCopied = copyStore(paths.archiveFile, folder + QStringLiteral("/档案.dat"));
    return settingsCopied && archiveCopied;
}

// Opening the store first lets the database finish any write an earlier run left half done;
// with every connection closed the file alone is then a complete store. The copy goes to a
// temporary name first, so that day's earlier copy is replaced only by a whole one.
bool StartupPreparation::copyStore(const QString& source, const QString& target)
{
    if (!QFileInfo::exists(source))
        return false;
    {
        StoreFile file(source);
        const StoreResult<QSqlDatabase> db = file.database();
        if (db.ok()) {
            QSqlQuery check(db.value());
            check.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        }
    }
    StoreFile::close(source);
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    QFile::remove(target);
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace quilloa
