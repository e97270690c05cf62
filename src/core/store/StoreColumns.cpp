#include "core/store/StoreColumns.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quilloa {

QString StoreColumns::quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString TableColumns::quotedList() const
{
    QStringList names;
    for (const QString& column : columns)
        names << StoreColumns::quoted(column);
    return names.join(QStringLiteral(", "));
}

StoreResult<QList<TableColumns>> StoreColumns::of(QSqlDatabase& file, StoreKind kind,
                                                  const QString& path)
{
    QList<TableColumns> tables;
    QSqlQuery query(file);
    for (const QString& table : StoreCopy::tablesOf(kind)) {
        TableColumns described{table, {}, -1};
        // The table name is one of the program's own, never the user's.
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))
            return StoreStatus::failure(query.lastError(), path);
        while (query.next()) {
            if (query.value(2).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) ==
                0)
                described.feeColumn = int(described.columns.size());
            described.columns << query.value(1).toString();
        }
        if (described.columns.isEmpty())
            return StoreStatus::failure(StoreFault::Damaged, path,
                                        QStringLiteral("table %1 missing").arg(table));
        tables << described;
    }
    return tables;
}

} // namespace quilloa
