#pragma once

#include "core/reports/ClinicLogWriter.h"

#include <QList>
#include <QStringList>

namespace quilloa {

// The clinic log as CSV in UTF-8 with a byte order mark: the title line, the headings, one
// line per visit and the total line.
class ClinicLogCsvWriter : public ClinicLogWriter
{
public:
    FileWriteStatus write(const ClinicLogSheet& sheet, const QString& path) const override;
    static QList<QStringList> lines(const ClinicLogSheet& sheet);
};

} // namespace quilloa
