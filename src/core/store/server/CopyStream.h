#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <span>
#include <vector>

namespace quilloa {

// The rows of a server's binary COPY … TO STDOUT, taken apart as the data arrives in pieces of
// any size. The binary form carries each value as its length and bytes, so texts need no
// unescaping and a NULL stays apart from an empty text.
class CopyStream
{
public:
    // One value of a row: its bytes, or a NULL (`size` < 0). Valid only during the call.
    struct Field
    {
        const char* data = nullptr;
        int size = -1;

        bool isNull() const { return size < 0; }
    };
    // Takes one row; false stops the stream.
    using RowTaker = std::function<bool(std::span<const Field> row)>;

    CopyStream(int columns, RowTaker take);

    // Takes the next piece of the data; false when the data is not a copy of rows of
    // `columns` values, or the taker stopped.
    bool feed(QByteArrayView piece);
    // Whether the data ended with its end mark and nothing followed it.
    bool isComplete() const { return m_ended && m_pending.isEmpty() && m_sound; }
    // Whether the data was found not to be such a copy (or the taker stopped).
    bool isBroken() const { return !m_sound; }
    qint64 rows() const { return m_rows; }

private:
    // How much of `data` whole rows (or the header) took; -1 when the data is not sound.
    qsizetype parse(QByteArrayView data);
    qsizetype parseHeader(QByteArrayView data);
    qsizetype parseRow(QByteArrayView data);

    int m_columns;
    RowTaker m_take;
    QByteArray m_pending;
    std::vector<Field> m_row;
    qint64 m_rows = 0;
    bool m_headerRead = false;
    bool m_ended = false;
    bool m_sound = true;
};

} // namespace quilloa
