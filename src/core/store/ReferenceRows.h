#pragma once

#include "core/store/ReferenceEntry.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace quilloa {

// Gathers the rows of one reference-list read as entries whose texts are copied, as stored,
// into a few shared blocks: a read of thousands of rows costs little more than copying their
// bytes, with no allocation per row and no large buffer that grows by copying.
class ReferenceRows
{
public:
    void add(qint64 rowId, QByteArrayView name, std::optional<QByteArrayView> code);
    QList<ReferenceEntry> take();

private:
    static constexpr qsizetype kBlockBytes = 32 * 1024;

    QExplicitlySharedDataPointer<ReferenceTexts> m_block;
    QList<ReferenceEntry> m_entries;
};

} // namespace quilloa
