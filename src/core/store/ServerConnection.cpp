#include "core/store/ServerConnection.h"

#include "core/store/StoreMessage.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>

namespace quilloa {
namespace {

const QString kDriver = QStringLiteral("QPSQL");

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

StoreStatus ServerConnection::open(QSqlDatabase& db, const StoreLocation& server)
{
    if (!QSqlDatabase::isDriverAvailable(kDriver))
        return StoreStatus::failure(
            QStringLiteral("缺少连接数据库服务器所需的组件（Qt 的 PostgreSQL 驱动）。请安装 "
                           "libqt6sql6-psql 软件包，然后重新启动程序。"));
    db.setConnectOptions(server.connectOptions());
    if (!db.open())
        return StoreStatus::failure(StoreFault::Unreachable, server.description(),
                                    db.lastError().text());
    QSqlQuery setup(db);
    // Texts go in and out as UTF-8 whatever the server's default is.
    if (!setup.exec(QStringLiteral("SET client_encoding TO 'UTF8'"))) {
        const StoreStatus failed = failure(setup.lastError(), db, server.description());
        setup = QSqlQuery();
        db.close();
        return failed;
    }
    return StoreStatus::success();
}

StoreStatus ServerConnection::failure(const QSqlError& error, const QSqlDatabase& held,
                                      const QString& description)
{
    const QString detail = error.text();
    if (!isUp(held))
        return StoreStatus::failure(StoreFault::Unreachable, description, detail);
    return StoreStatus::failure(faultOfState(error.nativeErrorCode(), detail), description, detail);
}

} // namespace quilloa
