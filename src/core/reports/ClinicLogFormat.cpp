#include "core/reports/ClinicLogFormat.h"

#include "core/reports/ClinicLogCsvWriter.h"
#include "core/reports/ClinicLogXlsxWriter.h"

namespace quilloa {

std::unique_ptr<ClinicLogWriter> ClinicLogFormat::writerFor(const QString& path)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return std::make_unique<ClinicLogCsvWriter>();
    return std::make_unique<ClinicLogXlsxWriter>();
}

} // namespace quilloa
