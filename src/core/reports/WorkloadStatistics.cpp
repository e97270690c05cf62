#include "core/reports/WorkloadStatistics.h"

namespace quilloa {

// The fees are added here rather than by SUM() so that a total outside the currency range is
// noticed and reported instead of failing the whole count; a period holds at most a few
// thousand rows, so this costs nothing measurable.
StoreResult<WorkloadTotals> WorkloadStatistics::of(const ArchiveStore& archive,
                                                   const ReportPeriod& period)
{
    WorkloadTotals totals;
    const StoreStatus read = archive.readFees(
        period.dates(), [&totals](const std::optional<Money>& fee) { totals.addRecord(fee); });
    // A read that broke off half way would give a count too small.
    if (!read.ok())
        return read;
    return totals;
}

} // namespace quilloa
