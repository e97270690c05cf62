#pragma once

#include "core/reports/ClinicLogWriter.h"

namespace quilloa {

// The clinic log as an .xlsx workbook: the title in the first row, the headings in the second,
// visit times as real dates and times, fees as numbers, and a total row summing the fees.
class ClinicLogXlsxWriter : public ClinicLogWriter
{
public:
    FileWriteStatus write(const ClinicLogSheet& sheet, const QString& path) const override;
};

} // namespace quilloa
