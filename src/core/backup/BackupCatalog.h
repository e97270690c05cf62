#pragma once

#include "core/backup/BackupCopy.h"
#include "core/store/StorePaths.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace quilloa {

// The copies in the backup folder, newest first. Each is opened read-only and
// checked before it is offered, so a damaged or half-copied folder is shown
// with its problem and never restored.
class BackupCatalog
{
public:
    static QList<BackupCopy> list(const StorePaths& paths);
    static BackupCopy inspect(const QString& folder);
    // The copies of a folder the user chose: the folder itself when it holds the two stores,
    // otherwise its dated folders, newest first.
    static QList<BackupCopy> listIn(const QString& folder);

    // "恢复前 " and the date and time, the folder the stores are saved to before
    // a restore.
    static QString beforeRestoreName(const QDateTime& now);
    // `wanted`, or it with "-2", "-3"… when a folder of that name is already there.
    [[nodiscard]] static QString freshFolder(const QString& wanted);
    static QString beforeRestorePrefix() { return QStringLiteral("恢复前 "); }

    // The folder of the dated backup of `date`, made when missing; empty when it cannot be
    // made, and then `notices` (when given) says so. Store files and server exports alike
    // go there, so the restore window finds both. Temporary files that killed copies left
    // in any dated folder are removed first (see removeStaleCopies()).
    static QString makeDayFolder(const StorePaths& paths, const QDate& date, QStringList* notices);
    static void removeStaleCopies(const StorePaths& paths);
};

} // namespace quilloa
