#include "core/reports/WorkloadStatistics.h"

#include "core/store/DirectRows.h"

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
    WorkloadTotals totals;
    const StoreStatus read = DirectRows::read(
        archive, statement(period), {period.boundValue()}, [&totals](const DirectRow& r) {
            totals.addRecord(r.isNull(0) ? std::nullopt
                                         : std::optional<Money>(Money::fromUnits(r.integer(0))));
        });
    // A read that broke off half way would give a count too small.
    if (!read.ok())
        return read;
    return totals;
}

} // namespace quilloa
