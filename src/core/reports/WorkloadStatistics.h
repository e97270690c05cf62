#pragma once

#include "core/reports/ReportPeriod.h"
#include "core/reports/WorkloadTotals.h"
#include "core/store/ArchiveStore.h"
#include "core/store/StoreResult.h"

namespace quilloa {

// Counts the prescription records of a day or a month in the archive store and adds up their
// fees exactly. Records whose fee holds no value still count.
class WorkloadStatistics
{
public:
    static StoreResult<WorkloadTotals> of(const ArchiveStore& archive, const ReportPeriod& period);
};

} // namespace quilloa
