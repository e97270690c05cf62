#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>

#include <initializer_list>

namespace quilloa {

// Stored texts of several rows, one after the other, as UTF-8. Rows hold the block and an
// offset, never a pointer into it, so rows can still be added while earlier rows exist.
struct StoredTexts : QSharedData
{
    QByteArray bytes;
};

// Copies the texts of one read's rows, as stored, into a few shared blocks: a read of thousands
// of rows costs little more than copying their bytes, with no allocation per row and no large
// buffer that grows by copying.
class StoredTextBlocks
{
public:
    // Puts the texts one after the other into the current block; returns where the first begins.
    int append(std::initializer_list<QByteArrayView> texts);
    // The block the last texts went into.
    const QExplicitlySharedDataPointer<StoredTexts>& block() const { return m_block; }
    void reset() { m_block.reset(); }

private:
    static constexpr qsizetype kBlockBytes = 32 * 1024;

    QExplicitlySharedDataPointer<StoredTexts> m_block;
};

} // namespace quilloa
