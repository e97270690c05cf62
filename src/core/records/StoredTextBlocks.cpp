#include "core/records/StoredTextBlocks.h"

namespace quilloa {

int StoredTextBlocks::append(std::initializer_list<QByteArrayView> texts)
{
    qsizetype bytes = 0;
    for (const QByteArrayView& text : texts)
        bytes += text.size();
    // A full block stays with the rows in it and a new one is started: growing it would copy it.
    if (!m_block || m_block->bytes.size() + bytes > m_block->bytes.capacity()) {
        m_block = new StoredTexts;
        m_block->bytes.reserve(qMax(kBlockBytes, bytes));
    }
    const int start = int(m_block->bytes.size());
    for (const QByteArrayView& text : texts)
        m_block->bytes.append(text);
    return start;
}

} // namespace quilloa
