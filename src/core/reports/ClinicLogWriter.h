#pragma once

#include "core/exchange/FileWriteStatus.h"

#include <QString>

#include <memory>

namespace quilloa {

class ClinicLogSheet;

// Writes an exported clinic log to a file. A writer never leaves a half-written file behind:
// the target is either untouched or holds the whole new log.
class ClinicLogWriter
{
public:
    virtual ~ClinicLogWriter() = default;
    virtual FileWriteStatus write(const ClinicLogSheet& sheet, const QString& path) const = 0;

    // The writer for a file name: CSV for ".csv", a workbook otherwise.
    static std::unique_ptr<ClinicLogWriter> forPath(const QString& path);
};

} // namespace quilloa
