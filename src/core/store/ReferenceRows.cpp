#include "core/store/ReferenceRows.h"

#include <utility>

namespace quilloa {

void ReferenceRows::add(qint64 rowId, QByteArrayView name, std::optional<QByteArrayView> code)
{
    const qsizetype bytes = name.size() + (code ? code->size() : 0);
    // A block is never grown past what it reserved: entries already point into it.
    if (!m_block || m_block->bytes.size() + bytes > m_block->bytes.capacity()) {
        m_block = new ReferenceTexts;
        m_block->bytes.reserve(qMax(kBlockBytes, bytes));
    }
    QByteArray& texts = m_block->bytes;
    const int start = int(texts.size());
    texts.append(name);
    if (code)
        texts.append(*code);
    m_entries.append(ReferenceEntry(rowId, m_block, start, int(name.size()),
                                    code ? int(code->size()) : ReferenceEntry::kNoCode));
}

QList<ReferenceEntry> ReferenceRows::take()
{
    m_block.reset();
    return std::exchange(m_entries, {});
}

} // namespace quilloa
