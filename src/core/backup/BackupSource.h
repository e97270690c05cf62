#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StorePaths.h"

#include <QDateTime>

namespace quilloa {

// What taking and putting back a backup needs of the running program: its folders, the store
// in use (the data folder's files or a server) and the time. The start-up context provides it,
// so the backup code never reaches into start-up, which itself takes the backup of a backup day.
class BackupSource
{
public:
    virtual ~BackupSource() = default;

    virtual const StorePaths& paths() const = 0;
    // The archive's store: a file, or the server both stores share.
    virtual StoreConnection storeInUse() const = 0;
    virtual QDateTime now() const = 0;

protected:
    BackupSource() = default;
    BackupSource(const BackupSource&) = default;
    BackupSource& operator=(const BackupSource&) = default;
};

} // namespace quilloa
