#pragma once

#include "core/store/StoreLocation.h"
#include "core/store/StoreResult.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;

namespace quilloa {

// The PostgreSQL side of a store connection: opening one through Qt's driver and sorting the
// server's failures into the faults the user can act on. The only place besides the location
// that knows libpq.
class ServerConnection
{
public:
    static StoreStatus open(QSqlDatabase& db, const StoreLocation& server);
    // `held` is the connection the failure happened on; whether it is still up tells a lost
    // connection from a refused statement.
    static StoreStatus failure(const QSqlError& error, const QSqlDatabase& held,
                               const QString& description);
    // Whether the connection is still up as far as the client library knows.
    static bool isUp(const QSqlDatabase& db);
};

} // namespace quilloa
