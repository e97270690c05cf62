#include "reports/WorkloadStatistics.h"

#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quilloa {

QString WorkloadStatistics::statement(const ReportPeriod& period)
{
    return QStringLiteral("SELECT [收费] FROM [档案] WHERE ") + period.condition();
}

// The fees are added here rather than by SUM() so that a total outside the currency range is
// noticed and reported instead of failing the whole count; a period holds at most a few
// thousand rows, so this costs nothing measurable.
StoreResult<WorkloadTotals> WorkloadStatistics::of(const StoreFile& archive,
                                                   const ReportPeriod& period)
{
    StoreResult<QSqlQuery> result =
        BoundQuery::run(archive, statement(period), {period.boundValue()});
    if (!result.ok())
        return StoreStatus(result);
    QSqlQuery query = result.takeValue();
    WorkloadTotals totals;
    while (query.next()) {
        const QVariant fee = query.value(0);
        totals.addRecord(fee.isNull() ? std::nullopt
                                      : std::optional<Money>(Money::fromUnits(fee.toLongLong())));
    }
    // A read that broke off half way would give a count too small.
    if (query.lastError().isValid())
        return StoreStatus::failure(query.lastError().text());
    return totals;
}

} // namespace quilloa
