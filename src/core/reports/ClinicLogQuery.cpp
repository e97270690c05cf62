#include "core/reports/ClinicLogQuery.h"

namespace quilloa {

StoreResult<QList<ClinicLogRow>> ClinicLogQuery::rows(const ArchiveStore& archive,
                                                      const ReportPeriod& period)
{
    QList<ClinicLogRow> rows;
    const StoreStatus read = archive.readVisits(period.dates(), [&rows](const VisitSummary& v) {
        rows.append({v.name, v.sex, v.age, v.diagnosis, v.address,
                     v.key.left(ClinicLogRow::kVisitTimeLength), v.fee});
    });
    if (!read.ok())
        return read;
    return rows;
}

} // namespace quilloa
