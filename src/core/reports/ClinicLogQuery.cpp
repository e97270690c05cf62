#include "reports/ClinicLogQuery.h"

#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quilloa {

// Equal keys (two sheets started in the same second) keep the order they were saved in.
QString ClinicLogQuery::statement(const ReportPeriod& period)
{
    return QStringLiteral(
               "SELECT [姓名], [性别], [年龄], [诊断], [地址], [名称], [收费] FROM [档案] WHERE ") +
           period.condition() + QStringLiteral(" ORDER BY [名称], rowid");
}

StoreResult<QList<ClinicLogRow>> ClinicLogQuery::rows(const StoreFile& archive,
                                                      const ReportPeriod& period)
{
    StoreResult<QSqlQuery> result =
        BoundQuery::run(archive, statement(period), {period.boundValue()});
    if (!result.ok())
        return StoreStatus(result);
    QSqlQuery query = result.takeValue();
    QList<ClinicLogRow> rows;
    while (query.next()) {
        const QVariant fee = query.value(6);
        rows.append({query.value(0).toString(), query.value(1).toString(),
                     query.value(2).toString(), query.value(3).toString(),
                     query.value(4).toString(),
                     query.value(5).toString().left(ClinicLogRow::kVisitTimeLength),
                     fee.isNull() ? std::nullopt
                                  : std::optional<Money>(Money::fromUnits(fee.toLongLong()))});
    }
    if (query.lastError().isValid())
        return StoreStatus::failure(query.lastError().text());
    return rows;
}

} // namespace quilloa
