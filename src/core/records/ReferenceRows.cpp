#include "core/records/ReferenceRows.h"

#include <utility>

namespace quilloa {

void ReferenceRows::add(qint64 rowId, QByteArrayView name, std::optional<QByteArrayView> code)
{
    const int start = m_blocks.append({name, code.value_or(QByteArrayView())});
    m_entries.append(ReferenceEntry(rowId, m_blocks.block(), start, int(name.size()),
                                    code ? int(code->size()) : ReferenceEntry::kNoCode));
}

QList<ReferenceEntry> ReferenceRows::take()
{
    m_blocks.reset();
    return std::exchange(m_entries, {});
}

} // namespace quilloa
