#include "core/store/server/ServerConnection.h"

#include "core/store/StoreMessage.h"
#include "core/store/server/ServerDriver.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>

namespace quilloa {
namespace {

PGconn* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // The driver's handle is named after the struct behind the typedef: "pg_conn*".
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

StoreFault faultOfState(const QString& state, const QString& detail)
{
    // Cancelled after the time limit, by the server's own limit or by the program.
    if (state == ServerDriver::kNoAnswerState)
        return StoreFault::TimedOut;
    // Class 08: the connection itself; 57P0x: the server is going down or restarting.
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return StoreFault::Unreachable;
    if (state == QLatin1String("23514"))
        return StoreMessage::limitOf(detail).isEmpty() ? StoreFault::Failed : StoreFault::TooLong;
    if (state == QLatin1String("22001"))
        return StoreFault::TooLong;
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        return StoreFault::ReadOnly;
    if (state == QLatin1String("53100"))
        return StoreFault::DiskFull;
    if (state == QLatin1String("40001") || state == QLatin1String("40P01") ||
        state == QLatin1String("55P03"))
        return StoreFault::Busy;
    if (state == QLatin1String("42P01") || state == QLatin1String("42703"))
        return StoreFault::Damaged;
    return StoreFault::Failed;
}

} // namespace

bool ServerConnection::isUp(const QSqlDatabase& db)
{
    PGconn* connection = handleOf(db);
    return connection && PQstatus(connection) == CONNECTION_OK;
}

int ServerConnection::backendOf(const QSqlDatabase& db)
{
    PGconn* connection = handleOf(db);
    return connection ? PQbackendPID(connection) : 0;
}

StoreStatus ServerConnection::open(QSqlDatabase& db, const StoreLocation& server)
{
    db.setConnectOptions(server.connectOptions());
    if (!db.open()) {
        const QSqlError error = db.lastError();
        return StoreStatus::failure(error.nativeErrorCode() == QLatin1String("08001")
                                        ? StoreFault::TimedOut
                                        : StoreFault::Unreachable,
                                    server.description(), error.text());
    }
    // Texts go in and out as UTF-8 whatever the server's default is. A row another program
    // keeps locked is given up on before the program's own limit, and told as busy.
    const qint64 lockLimit = ServerDriver::replyLimit().count() * 6 / 10;
    return setUp(db, server.description(),
                 {QStringLiteral("SET client_encoding TO 'UTF8'"),
                  QStringLiteral("SET lock_timeout = %1").arg(lockLimit)});
}

// The server ends a statement of a store's held connection before the program's own limit, so
// a slow statement is told as such rather than cut off with its connection. A backup export's
// long read is bounded by the program's limit on silence instead.
StoreStatus ServerConnection::limitStatements(QSqlDatabase& db, const QString& description)
{
    const qint64 statementLimit = ServerDriver::replyLimit().count() * 8 / 10;
    return setUp(db, description,
                 {QStringLiteral("SET statement_timeout = %1").arg(statementLimit)});
}

StoreStatus ServerConnection::setUp(QSqlDatabase& db, const QString& description,
                                    const QStringList& statements)
{
    QSqlQuery setup(db);
    for (const QString& statement : statements) {
        if (!setup.exec(statement)) {
            const StoreStatus failed = failure(setup.lastError(), db, description);
            setup = QSqlQuery();
            db.close();
            return failed;
        }
    }
    return StoreStatus::success();
}

StoreStatus ServerConnection::failure(const QSqlError& error, const QSqlDatabase& held,
                                      const QString& description)
{
    const QString detail = error.text();
    if (error.nativeErrorCode() == ServerDriver::kNoAnswerState)
        return StoreStatus::failure(StoreFault::TimedOut, description, detail);
    if (!isUp(held))
        return StoreStatus::failure(StoreFault::Unreachable, description, detail);
    return StoreStatus::failure(faultOfState(error.nativeErrorCode(), detail), description, detail);
}

} // namespace quilloa
