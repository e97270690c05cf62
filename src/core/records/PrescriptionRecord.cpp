#include "core/records/PrescriptionRecord.h"

namespace quilloa {

QString ArchiveEntry::keyFromText(const QString& entryText)
{
    // A line reads "name[yyyy-MM-dd hh:mm:ss]": the key is the 19 characters before the closing
    // bracket, whatever the name holds, brackets included.
    const qsizetype start = entryText.size() - 20;
    if (start < 0)
        return QString(); // too short to hold a key
    return entryText.mid(start, 19);
}

} // namespace quilloa
