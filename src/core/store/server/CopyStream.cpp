#include "core/store/server/CopyStream.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace quilloa {
namespace {

// "PGCOPY\n\377\r\n\0", then the flags and the length of a header extension.
constexpr char kSignature[] = {'P', 'G', 'C', 'O', 'P', 'Y', '\n', '\377', '\r', '\n', '\0'};
constexpr qsizetype kHeaderSize = qsizetype(sizeof kSignature) + 8;
// Bit 16 of the flags: every row would carry an object id first.
constexpr quint32 kWithIds = quint32(1) << 16;

template <class Integer> Integer readAt(QByteArrayView data, qsizetype at)
{
    return qFromBigEndian<Integer>(data.data() + at);
}

} // namespace

CopyStream::CopyStream(int columns, RowTaker take)
    : m_columns(columns), m_take(std::move(take)), m_row(size_t(columns))
{
}

bool CopyStream::feed(QByteArrayView piece)
{
    if (!m_sound)
        return false;
    // The server sends a row per piece, so the piece is read where it lies; only a row cut
    // across pieces is gathered first.
    if (m_pending.isEmpty()) {
        const qsizetype used = parse(piece);
        if (used >= 0)
            m_pending = piece.sliced(used).toByteArray();
    } else {
        m_pending.append(piece);
        const qsizetype used = parse(m_pending);
        if (used >= 0)
            m_pending.remove(0, used);
    }
    return m_sound;
}

qsizetype CopyStream::parse(QByteArrayView data)
{
    qsizetype used = 0;
    while (m_sound && used < data.size()) {
        if (m_ended) {
            // Nothing may follow the end mark.
            m_sound = false;
            break;
        }
        const qsizetype step =
            m_headerRead ? parseRow(data.sliced(used)) : parseHeader(data.sliced(used));
        if (step == 0)
            break;
        used += step;
    }
    return m_sound ? used : -1;
}

qsizetype CopyStream::parseHeader(QByteArrayView data)
{
    if (data.size() < kHeaderSize)
        return 0;
    const quint32 flags = readAt<quint32>(data, sizeof kSignature);
    const qint32 extension = readAt<qint32>(data, sizeof kSignature + 4);
    if (std::memcmp(data.data(), kSignature, sizeof kSignature) != 0 || (flags & kWithIds) ||
        extension < 0) {
        m_sound = false;
        return 0;
    }
    if (data.size() < kHeaderSize + extension)
        return 0;
    m_headerRead = true;
    return kHeaderSize + extension;
}

qsizetype CopyStream::parseRow(QByteArrayView data)
{
    if (data.size() < 2)
        return 0;
    const qint16 count = readAt<qint16>(data, 0);
    if (count == -1) {
        m_ended = true;
        return 2;
    }
    if (count != m_columns) {
        m_sound = false;
        return 0;
    }
    qsizetype at = 2;
    for (int column = 0; column < m_columns; ++column) {
        if (data.size() - at < 4)
            return 0;
        const qint32 size = readAt<qint32>(data, at);
        at += 4;
        if (size < -1) {
            m_sound = false;
            return 0;
        }
        if (size > data.size() - at)
            return 0;
        m_row[size_t(column)] = Field{data.data() + at, size};
        at += std::max(size, 0);
    }
    ++m_rows;
    if (!m_take(m_row))
        m_sound = false;
    return m_sound ? at : 0;
}

} // namespace quilloa
