#include "core/reports/ClinicLogQuery.h"

namespace quilloa {

StoreResult<QList<ClinicLogRow>> ClinicLogQuery::rows(const ArchiveStore& archive,
                                                      const ReportPeriod& period)
{
    QList<ClinicLogRow> rows;
    const StoreStatus read = archive.readVisits(period.dates(), [&rows](VisitSummary&& v) {
        // Cut where it lies: the key's text is not copied.
        v.key.truncate(ClinicLogRow::kVisitTimeLength);
        rows.append({std::move(v.name), std::move(v.sex), std::move(v.age), std::move(v.diagnosis),
                     std::move(v.address), std::move(v.key), v.fee});
    });
    if (!read.ok())
        return read;
    return rows;
}

} // namespace quilloa
