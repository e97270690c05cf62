#include "store/BoundQuery.h"

#include "store/PreparedStatements.h"

#include <QSqlError>

namespace quilloa {

StoreResult<QSqlQuery> BoundQuery::run(const StoreFile& file, const QString& sql,
                                       const QVariantList& values)
{
    const StoreResult<QSqlDatabase> db = file.database();
    if (!db.ok())
        return StoreStatus(db);
    QSqlQuery query(db.value());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return StoreStatus::failure(query.lastError().text());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return StoreStatus::failure(query.lastError().text());
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
        return StoreStatus::failure(lease.error());
    for (int i = 0; i < int(values.size()); ++i)
        query->bindValue(i, values.at(i));
    if (!query->exec()) {
        lease.discard();
        return StoreStatus::failure(query->lastError().text());
    }
    while (query->next())
        row(*query);
    // A read that broke off half way would pass for a shorter result.
    if (query->lastError().isValid()) {
        lease.discard();
        return StoreStatus::failure(query->lastError().text());
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
        return StoreStatus::failure(QStringLiteral("记录不存在"));
    return StoreStatus::success();
}

} // namespace quilloa
