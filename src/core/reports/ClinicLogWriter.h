#pragma once

#include "core/exchange/FileWriteStatus.h"

#include <QString>

namespace quilloa {

class ClinicLogSheet;

// Writes an exported clinic log to a file. A writer never leaves a half-written file behind:
// the target is either untouched or holds the whole new log.
class ClinicLogWriter
{
public:
    virtual ~ClinicLogWriter() = default;
    virtual FileWriteStatus write(const ClinicLogSheet& sheet, const QString& path) const = 0;
};

} // namespace quilloa
