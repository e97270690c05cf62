#include "store/PrescriptionRecord.h"

namespace quilloa {

QString ArchiveEntry::keyFromText(const QString& entryText)
{
    // Positions length-19 .. length-1 counting from 1, which skips the closing "]".
    const qsizetype start = entryText.size() - 20;
    if (start < 0)
        return QString(); // too short to hold a key
    return entryText.mid(start, 19);
}

} // namespace quilloa
