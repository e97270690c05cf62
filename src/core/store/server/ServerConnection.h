#pragma once

#include "core/store/StoreLocation.h"
#include "core/store/StoreResult.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;

namespace quilloa {

// The PostgreSQL side of a store connection: opening one through the program's driver and sorting
// the server's failures into the faults the user can act on. The only place besides the location
// that knows libpq.
class ServerConnection
{
public:
    // Opens `db` (on a ServerDriver) and sets the session up: UTF-8 and a limit on lock waits.
    static StoreStatus open(QSqlDatabase& db, const StoreLocation& server);
    // Adds the limit on a statement's time, for a store's held connection.
    static StoreStatus limitStatements(QSqlDatabase& db, const QString& description);
    // `held` is the connection the failure happened on; whether it is still up tells a lost
    // connection from a refused statement.
    static StoreStatus failure(const QSqlError& error, const QSqlDatabase& held,
                               const QString& description);
    // Whether the connection is still up as far as the client library knows.
    static bool isUp(const QSqlDatabase& db);
    // The server's process for `db`'s connection; 0 when it has none.
    [[nodiscard]] static int backendOf(const QSqlDatabase& db);

private:
    static StoreStatus setUp(QSqlDatabase& db, const QString& description,
                             const QStringList& statements);
};

} // namespace quilloa
