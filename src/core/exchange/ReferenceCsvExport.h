#pragma once

#include "core/exchange/FileWriteStatus.h"
#include "core/records/ReferenceEntry.h"

#include <QList>
#include <QStringList>

namespace quilloa {

// A reference list as CSV in UTF-8 with a byte order mark, in the columns the import reads: a
// drug as name, usage, code; a diagnosis or address as name, code. Column titles come first.
class ReferenceCsvExport
{
public:
    // The first line; an import that finds it reads the rest exactly as written.
    static QStringList heading(ReferenceList list);
    static QList<QStringList> lines(ReferenceList list, const QList<ReferenceEntry>& entries);
    static FileWriteStatus write(ReferenceList list, const QList<ReferenceEntry>& entries,
                                 const QString& path);
};

} // namespace quilloa
