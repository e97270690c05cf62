#include "core/reports/ClinicLogQuery.h"

#include "core/reports/ClinicLogRows.h"

namespace quilloa {

StoreResult<QList<ClinicLogRow>> ClinicLogQuery::rows(const ArchiveStore& archive,
                                                      const ReportPeriod& period)
{
    ClinicLogRows rows;
    const StoreStatus read =
        archive.readVisits(period.dates(), [&rows](const StoredVisit& visit) { rows.add(visit); });
    if (!read.ok())
        return read;
    return rows.take();
}

} // namespace quilloa
