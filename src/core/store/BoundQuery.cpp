#include "store/BoundQuery.h"

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
