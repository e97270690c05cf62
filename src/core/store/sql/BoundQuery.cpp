#include "core/store/sql/BoundQuery.h"

#include "core/store/StoreLimits.h"
#include "core/store/file/PreparedStatements.h"
#include "core/store/file/StoreDamage.h"
#include "core/store/sql/StoreSql.h"

#include <QSqlError>

namespace quilloa {
namespace {

// The engine's failure, told in the user's terms; a failure that may come from the store as it
// stood (a lock, a read-only file, an I/O error, a lost connection) makes the next operation
// open it afresh.
StoreStatus failed(const StoreConnection& file, const QSqlError& error)
{
    return file.failure(error);
}

// A store file known damaged takes no write: a new row could land on or beside the damage and
// be lost with it, and the user would take it for saved.
bool knownDamaged(const StoreConnection& file)
{
    return !file.isServer() && StoreDamage::known(file.path());
}

StoreStatus refusedOnDamage(const StoreConnection& file)
{
    return StoreStatus::failure(StoreFault::Damaged, file.path());
}

} // namespace

// An empty text is stored as an empty text, never as NULL: a NULL would fall out of every
// comparison and LIKE a later search makes. Values that are not text pass unchanged.
QVariant BoundQuery::bindable(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
        return QVariant(QString(QLatin1String("")));
    return value;
}

void BoundQuery::bind(QSqlQuery& query, const QVariantList& values, Binding binding)
{
    for (int i = 0; i < int(values.size()); ++i)
        query.bindValue(i, binding == Binding::Typed ? bindable(values.at(i)) : values.at(i));
}

bool BoundQuery::exec(QSqlQuery& query, const QString& sql, const QVariantList& values,
                      Binding binding)
{
    if (!query.prepare(sql))
        return false;
    bind(query, values, binding);
    return query.exec();
}

StoreStatus BoundQuery::execute(const StoreConnection& file, const QString& sql,
                                const QVariantList& values, const Finish& finish)
{
    if (file.isServer()) {
        const StoreStatus fits = StoreLimits::check(sql, values, file.path());
        if (!fits.ok())
            return fits;
    }
    const StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return db;
    PreparedStatements::Lease lease(file.connectionName(), db.value(), sql);
    QSqlQuery* query = lease.query();
    if (!query)
        return failed(file, lease.error());
    bind(*query, values);
    if (!query->exec()) {
        lease.discard();
        return failed(file, query->lastError());
    }
    const StoreStatus finished = finish(*query);
    // A read that broke off half way would pass for a shorter result.
    if (query->lastError().isValid()) {
        lease.discard();
        return failed(file, query->lastError());
    }
    return finished;
}

StoreStatus BoundQuery::run(const StoreConnection& file, const QString& sql,
                            const QVariantList& values)
{
    if (knownDamaged(file))
        return refusedOnDamage(file);
    return execute(file, sql, values, [](QSqlQuery&) { return StoreStatus::success(); });
}

StoreStatus BoundQuery::read(const StoreConnection& file, const QString& sql,
                             const QVariantList& values, const RowReader& row)
{
    bool handedOut = false;
    const Finish readAll = [&row, &handedOut](QSqlQuery& query) {
        while (query.next()) {
            handedOut = true;
            row(query);
        }
        return StoreStatus::success();
    };
    const StoreStatus status = execute(file, sql, values, readAll);
    // A server connection that went away while idle (a restarted server) is found out only by
    // the call that uses it. A read changes nothing, so it runs once more on a new connection
    // rather than telling the user about a connection that is already mended.
    if (status.ok() || handedOut || !file.isServer() || status.fault() != StoreFault::Unreachable)
        return status;
    return execute(file, sql, values, readAll);
}

StoreStatus BoundQuery::change(const StoreConnection& file, const QString& sql,
                               const QVariantList& values)
{
    if (knownDamaged(file))
        return refusedOnDamage(file);
    return execute(file, sql, values, [&file](QSqlQuery& query) {
        if (query.numRowsAffected() < 1)
            return StoreStatus::failure(StoreFault::NoRow, file.path());
        return StoreStatus::success();
    });
}

StoreResult<qint64> BoundQuery::insert(const StoreConnection& file, const QString& sql,
                                       const QVariantList& values)
{
    if (knownDamaged(file))
        return refusedOnDamage(file);
    qint64 rowId = 0;
    const QString statement = sql + StoreSql::returningRow(file);
    const StoreStatus status = execute(file, statement, values, [&rowId, &file](QSqlQuery& query) {
        rowId = StoreSql::insertedRow(file, query);
        return StoreStatus::success();
    });
    if (!status.ok())
        return status;
    return rowId;
}

} // namespace quilloa
