#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StorePaths.h"

#include <QDate>
#include <QStringList>

namespace quilloa {

// The dated backup of a backup day when the stores live on a server.
class ServerBackup
{
public:
    // Writes 数据库备份/<yyyy-mm-dd>/ for `date` from the server's database; returns whether
    // both copies were made. A copy that could not be made is told in `notices`.
    static bool take(const StoreConnection& server, const StorePaths& paths, const QDate& date,
                     QStringList* notices);
};

} // namespace quilloa
