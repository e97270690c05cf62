#pragma once

#include "startup/Clock.h"
#include "store/StorePaths.h"
#include "store/StoreResult.h"

#include <QString>

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

    bool needsLogin() const { return !loginPassword.trimmed().isEmpty(); }
    bool loginUnknown() const { return !loginRead.ok(); }
};

// The steps that run before the first window: make the data folder and missing stores, take
// the backup on the 10th, 20th and 30th, read the login password. Each step that fails is
// passed over; the program starts regardless.
class StartupPreparation
{
public:
    static StartupReport run(const StorePaths& paths, const Clock& clock);
    // Reads the login password into the report. Only a missing archive store (a new
    // installation whose store could not be made) counts as having none.
    static void readLogin(const StorePaths& paths, StartupReport& report);

    static bool isBackupDay(const QDate& date);
    // Copies both stores into 数据库备份/<yyyy-mm-dd>/, replacing that day's copies.
    static bool takeBackup(const StorePaths& paths, const QDate& date);

private:
    static bool copyStore(const QString& source, const QString& target);
};

} // namespace quilloa
