#pragma once

#include "core/backup/BackupCopy.h"
#include "core/backup/BackupSource.h"
#include "core/store/StorePaths.h"

#include <QDateTime>
#include <QString>

#include <initializer_list>

namespace quilloa {

class StoreReplacement;
class StoreStatus;

// Taking a backup on demand and putting a backup in place of the stores. Every
// outcome comes with a plain Chinese message for the user.
class BackupRestore
{
public:
    struct Outcome
    {
        bool ok = false;
        QString message;
        QString folder; // the folder written: the new backup, or the "恢复前" copy
    };

    // Checked copies of both stores into 数据库备份/<yyyy-mm-dd of now>,
    // replacing that day's copies only with sound ones.
    static Outcome backUpNow(const StorePaths& paths, const QDateTime& now);

    // A checked pair of both stores into a fresh dated folder inside `target` (a USB drive, a
    // folder on another computer), so the clinic's data outlives the disk it is on.
    static Outcome backUpTo(const StorePaths& paths, const QString& target, const QDateTime& now);

    // Saves the current stores, as they are, to 数据库备份/恢复前 <date time>,
    // then puts the checked copies of `copy` in their place. The stores are
    // closed first, so the next store operation opens the restored files. Nothing
    // is replaced unless both copies are sound, both stores could be locked against
    // every other writer and the current stores were saved under those locks.
    static Outcome restore(const StorePaths& paths, const BackupCopy& copy, const QDateTime& now);

    // The same for the running program's stores. On a server, "back up now" writes today's copies
    // from one snapshot of the server's database, and a restore is refused with what to do instead:
    // putting a copy back over a database that other workstations are using is a step for the
    // person who runs the server, not for one workstation.
    static Outcome backUpNow(const BackupSource& source);
    static Outcome restore(const BackupSource& source, const BackupCopy& copy);

private:
    static StoreStatus saveCurrentStores(std::initializer_list<StoreReplacement*> stores,
                                         const QString& folder);
    static Outcome notWritten(const StorePaths& paths, const QString& saved,
                              const StoreStatus& failure);
    static Outcome undo(const StorePaths& paths, const QString& saved, const BackupCopy& copy,
                        const StoreStatus& failure);
};

} // namespace quilloa
