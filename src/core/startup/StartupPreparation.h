#pragma once

#include "core/startup/BackgroundWork.h"
#include "core/startup/Clock.h"
#include "core/store/StorePaths.h"
#include "core/store/StoreResult.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quilloa {

// What start-up found out before any window opens.
struct StartupReport
{
    QString loginPassword; // as stored; blank means no login
    // How reading the login password went. A failure on an archive store that exists means
    // nobody can tell whether a login is needed: the program must not open unverified.
    StoreStatus loginRead = StoreStatus::success();
    bool archiveCreated = false;
    bool settingsCreated = false;
    bool backupTaken = false; // both copies of a backup day were made
    // A backup day whose copies were left for later (see StartupPreparation::backupWork), and
    // the stores found unusable, which that copy skips.
    bool backupDue = false;
    QStringList unusableStores;
    // What the user must be told once the first window is up: a store that cannot be used, a
    // backup that was skipped. Plain Chinese, one message each.
    QStringList notices;

    bool needsLogin() const { return !loginPassword.trimmed().isEmpty(); }
    bool loginUnknown() const { return !loginRead.ok(); }
};

// The steps that run before the first window: make the data folder and missing stores, take
// the backup on the 10th, 20th and 30th, read the login password. A step that fails is told in
// the report; only an unreadable login password stops the start (see StartupReport).
class AppContext;

class StartupPreparation
{
public:
    // When a backup day's copies are taken: during the preparation, or later by backupWork()
    // while the first window is already open.
    enum class Backup
    {
        Now,
        Later,
    };

    static StartupReport run(const StorePaths& paths, const Clock& clock,
                             Backup backup = Backup::Now);
    // The same steps for the context's stores: on a server, the tables are created on a
    // database that has none yet, and no store file is looked at.
    static StartupReport run(const AppContext& context, Backup backup = Backup::Now);
    // The copies of a backup day that run() left for later, as work for a thread of its own;
    // none when they are not due. A later start of the same day copies the store files again
    // when they changed since, so the day's copies hold what was saved after the first start. On
    // a server, whose export reads every record, a later start leaves them to the first; the work
    // exports the database over a connection of its own, under the day's lock on the server, so
    // another workstation does not export the same day meanwhile.
    static std::optional<BackgroundWork::Work> backupWork(const AppContext& context,
                                                          const StartupReport& report);
    static void readLogin(const AppContext& context, StartupReport& report);
    // Reads the login password into the report. Only a missing archive store (a new
    // installation whose store could not be made) counts as having none.
    static void readLogin(const StorePaths& paths, StartupReport& report);

    static bool isBackupDay(const QDate& date);
    // Narrows the data and backup folders and the stores that an older version left readable
    // by others; only what cannot be narrowed is added to `notices`.
    static void keepPrivate(const StorePaths& paths, QStringList& notices);
    // Copies both stores into 数据库备份/<yyyy-mm-dd>/ as a pair (see BackupPair) that replaces
    // that day's pair only when both new copies are sound; stores unchanged since that pair was
    // made are not copied again. A store that is busy or fails its check keeps the day's pair,
    // and the reason is added to `notices`. When a store in `unusable` was found unreadable
    // already, nothing is copied and nothing more is said.
    static bool takeBackup(const StorePaths& paths, const QDate& date,
                           QStringList* notices = nullptr, const QStringList& unusable = {});

    // What to tell the user about a store that cannot be used: its name, the cause, that it
    // was left untouched, and where its dated copies are.
    static QString unusableStoreNotice(const StorePaths& paths, const StoreStatus& failure);
    // The dated backup folders holding a copy of `fileName`, newest first.
    static QStringList datedCopies(const StorePaths& paths, const QString& fileName);

private:
    // How often a backup day's copies are made: at every start that finds the stores changed,
    // or once a day.
    enum class DayCopies
    {
        EveryStart,
        Once,
    };
    // A backup day's work around `take`, which makes the day's copies: skipped while another
    // start of the program makes them, and when `copies` finds them made already.
    static BackgroundWork::Work dayWork(const StorePaths& paths, const QDate& today,
                                        const std::function<void(QStringList*)>& take,
                                        DayCopies copies);
};

} // namespace quilloa
