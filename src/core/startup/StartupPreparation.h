#pragma once

#include "startup/Clock.h"
#include "store/StorePaths.h"

#include <QString>

namespace quilloa {

// What start-up found out before any window opens.
struct StartupReport
{
    QString loginPassword;     // as stored; blank means no login
    bool archiveCreated = false;
    bool settingsCreated = false;
    bool backupTaken = false;  // both copies of a backup day were made

    bool needsLogin() const { return !loginPassword.trimmed().isEmpty(); }
};

// The steps that run before the first window: make the data folder and missing stores, take
// the backup on the 10th, 20th and 30th, read the login password. Each step that fails is
// passed over; the program starts regardless.
class StartupPreparation
{
public:
    static StartupReport run(const StorePaths& paths, const Clock& clock);

    static bool isBackupDay(const QDate& date);
    // Copies both stores into 数据库备份/<yyyy-mm-dd>/, replacing that day's copies.
    static bool takeBackup(const StorePaths& paths, const QDate& date);

private:
    static bool copyStore(const QString& source, const QString& target);
};

} // namespace quilloa
