#pragma once

#include <QByteArray>
#include <QString>

namespace quilloa {

// The text of a file a spreadsheet or an old program wrote: UTF-8 (with or without a byte order
// mark) when the bytes are valid UTF-8, else code page 936 (GBK), the other encoding Chinese
// files come in.
class TextDecoding
{
public:
    enum class Encoding
    {
        Utf8,
        Gbk
    };
    struct Decoded
    {
        QString text;
        Encoding encoding = Encoding::Utf8;
    };

    static Decoded decode(const QByteArray& bytes);
    static QString nameOf(Encoding encoding);
};

} // namespace quilloa
