#include "core/store/BoundQuery.h"

#include "core/store/PreparedStatements.h"

#include <QSqlError>

namespace quilloa {
namespace {

// The engine's failure, told in the user's terms; a failure that may come from the file as it
// stood (a lock, a read-only file, an I/O error) makes the next operation open it afresh.
StoreStatus failed(const StoreFile& file, const QSqlError& error)
{
    const StoreStatus status = StoreStatus::failure(error, file.path());
    if (status.fault() != StoreFault::TooLong)
        file.operationFailed();
    return status;
}

// An empty text is stored as an empty text, never as NULL: a NULL would fall out of every
// comparison and LIKE a later search makes. Values that are not text pass unchanged.
QVariant bindable(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
        return QVariant(QString(QLatin1String("")));
    return value;
}

} // namespace

StoreResult<QSqlQuery> BoundQuery::run(const StoreFile& file, const QString& sql,
                                       const QVariantList& values)
{
    const StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return StoreStatus(db);
    QSqlQuery query(db.value());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return failed(file, query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(bindable(value));
    if (!query.exec())
        return failed(file, query.lastError());
    return query;
}

StoreStatus BoundQuery::read(const StoreFile& file, const QString& sql, const QVariantList& values,
                             const RowReader& row)
{
    const StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return db;
    PreparedStatements::Lease lease(file.connectionName(), db.value(), sql);
    QSqlQuery* query = lease.query();
    if (!query)
        return failed(file, lease.error());
    for (int i = 0; i < int(values.size()); ++i)
        query->bindValue(i, bindable(values.at(i)));
    if (!query->exec()) {
        lease.discard();
        return failed(file, query->lastError());
    }
    while (query->next())
        row(*query);
    // A read that broke off half way would pass for a shorter result.
    if (query->lastError().isValid()) {
        lease.discard();
        return failed(file, query->lastError());
    }
    return StoreStatus::success();
}

StoreStatus BoundQuery::change(const StoreFile& file, const QString& sql,
                               const QVariantList& values)
{
    const StoreResult<QSqlQuery> result = run(file, sql, values);
    if (!result.ok())
        return result;
    if (result.value().numRowsAffected() < 1)
        return StoreStatus::failure(StoreFault::NoRow, file.path());
    return StoreStatus::success();
}

} // namespace quilloa
