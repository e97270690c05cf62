#pragma once

#include "core/records/ReferenceEntry.h"
#include "core/records/StoredTextBlocks.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace quilloa {

// Gathers the rows of one reference-list read as entries whose texts are copied, as stored,
// into a few shared blocks.
class ReferenceRows
{
public:
    void add(qint64 rowId, QByteArrayView name, std::optional<QByteArrayView> code);
    QList<ReferenceEntry> take();

private:
    StoredTextBlocks m_blocks;
    QList<ReferenceEntry> m_entries;
};

} // namespace quilloa
