#pragma once

#include "core/reports/ClinicLogWriter.h"

#include <QString>

#include <memory>

namespace quilloa {

// Which kind of file a clinic log is written as, chosen by the name the user gave it.
class ClinicLogFormat
{
public:
    // A CSV writer for a name ending in .csv (any case), else a workbook writer.
    static std::unique_ptr<ClinicLogWriter> writerFor(const QString& path);
};

} // namespace quilloa
