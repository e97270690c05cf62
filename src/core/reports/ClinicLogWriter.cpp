#include "reports/ClinicLogWriter.h"

#include "reports/ClinicLogCsvWriter.h"
#include "reports/ClinicLogXlsxWriter.h"

namespace quilloa {

std::unique_ptr<ClinicLogWriter> ClinicLogWriter::forPath(const QString& path)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return std::make_unique<ClinicLogCsvWriter>();
    return std::make_unique<ClinicLogXlsxWriter>();
}

} // namespace quilloa
