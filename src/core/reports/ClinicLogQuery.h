#pragma once

#include "core/reports/ClinicLogRow.h"
#include "core/reports/ReportPeriod.h"
#include "core/store/ArchiveStore.h"
#include "core/store/StoreResult.h"

#include <QList>

namespace quilloa {

// The visits of a day or a month in the order their prescriptions were started (by record key;
// records with equal keys in the order they were saved).
class ClinicLogQuery
{
public:
    static StoreResult<QList<ClinicLogRow>> rows(const ArchiveStore& archive,
                                                 const ReportPeriod& period);
};

} // namespace quilloa
