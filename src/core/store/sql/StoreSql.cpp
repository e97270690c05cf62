#include "core/store/sql/StoreSql.h"

namespace quilloa {

QString StoreSql::like(const StoreConnection& file)
{
    // A server takes the backslash as the escape character unless told there is none.
    return file.isServer() ? QStringLiteral("LIKE ? ESCAPE ''") : QStringLiteral("LIKE ?");
}

QVariant StoreSql::limit(const StoreConnection& file, int limit)
{
    // The file engine reads a negative limit as none; a server reads none from NULL.
    if (limit < 0 && file.isServer())
        return QVariant(QMetaType(QMetaType::LongLong));
    return limit;
}

// A server keeps the fee as an exact decimal of yuan, readable by any tool there; a store file
// keeps ten-thousandths of a yuan as an integer. Both read and write as ten-thousandths.
QString StoreSql::fee(const StoreConnection& file)
{
    return file.isServer() ? QStringLiteral("CAST(\"收费\" * 10000 AS bigint)")
                           : QStringLiteral("\"收费\"");
}

QString StoreSql::feeParameter(const StoreConnection& file)
{
    return file.isServer() ? QStringLiteral("CAST(? AS numeric) / 10000") : QStringLiteral("?");
}

QString StoreSql::returningRow(const StoreConnection& file)
{
    return file.isServer() ? QStringLiteral(" RETURNING rowid") : QString();
}

qint64 StoreSql::insertedRow(const StoreConnection& file, QSqlQuery& query)
{
    if (file.isServer())
        return query.next() ? query.value(0).toLongLong() : 0;
    return query.lastInsertId().toLongLong();
}

// The columns compare without regard to case; here every byte counts. A NULL reads as a
// text no column holds, so that it matches only a NULL.
QString StoreSql::sameAs(const StoreConnection& file, const QString& column)
{
    return file.isServer() ? QStringLiteral("coalesce(CAST(%1 AS text), ?) = ?").arg(column)
                           : QStringLiteral("coalesce(%1, ?) COLLATE BINARY = ?").arg(column);
}

QVariantList StoreSql::sameAsValues(const std::optional<QString>& read)
{
    static const QString kNone(QChar(0xFFFF));
    return {kNone, read.value_or(kNone)};
}

} // namespace quilloa
