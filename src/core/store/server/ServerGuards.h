#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

namespace quilloa {

// What keeps a room's rights on the server to what the program does with them. A room deletes
// one record or list entry at a time through a function that runs with the owner's rights, so
// it needs no right to delete from a table: with one it could empty the table in one
// statement, and it could lock every other room out of it (LOCK TABLE … ACCESS EXCLUSIVE asks
// only for a table-wide right to delete, update or truncate). The lists' entries are changed
// through rights on their columns, which allow no such lock, and one entry per statement.
class ServerGuards
{
public:
    // The function and triggers, made afresh; for a new database and for the upgrade.
    static QStringList statements();
    static QSqlError make(QSqlDatabase& db);

    // Deletes the row `rowId` of `table` (the archive or a list), the archive's only while it
    // still holds `key`; NoRow when there is no such row.
    static StoreStatus remove(const StoreConnection& server, const QString& table, qint64 rowId,
                              const QString& key = QString());
};

} // namespace quilloa
