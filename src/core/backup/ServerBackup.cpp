#include "core/backup/ServerBackup.h"

#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupPair.h"
#include "core/store/server/ServerExport.h"

#include <QDir>
#include <QFileInfo>

namespace quilloa {

bool ServerBackup::take(const StoreConnection& server, const StorePaths& paths, const QDate& date,
                        QStringList* notices)
{
    const QString day = date.toString(QStringLiteral("yyyy-MM-dd"));
    const QString folder = BackupCatalog::makeDayFolder(paths, date, notices);
    if (folder.isEmpty())
        return false;
    // The same names as the store files' own backups, so the restore window and any SQLite tool
    // read them alike.
    const StoreStatus written = ServerExport::write(
        server,
        {{StoreKind::Settings,
          folder + QLatin1Char('/') + QFileInfo(paths.settingsFile).fileName()},
         {StoreKind::Archive, folder + QLatin1Char('/') + QFileInfo(paths.archiveFile).fileName()}},
        date);
    // Both files come from one snapshot: a pair, which a note of an earlier pair would call mixed.
    if (written.ok()) {
        (void)BackupPair::note(folder);
        return true;
    }
    if (notices)
        *notices << QStringLiteral("今天没有备份%1上的数据：%2\n%3 已有的备份保持不变。")
                        .arg(server.path(), written.error(), day);
    return false;
}

} // namespace quilloa
