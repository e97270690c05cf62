#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quilloa {

// The text of a file a spreadsheet or an old program wrote: UTF-8 (with or without a byte order
// mark) when the bytes are valid UTF-8, UTF-16 when a byte order mark says so, else code page
// 936 (GBK), the other encoding Chinese files come in. Bytes that are none of these (a
// workbook, a picture, UTF-16 without its mark) are not text and give no text at all.
class TextDecoding
{
public:
    enum class Encoding
    {
        Utf8,
        Utf16,
        Gbk,
        NotText
    };
    struct Decoded
    {
        QString text;
        Encoding encoding = Encoding::Utf8;
    };
    // A line (numbered from 1) holding a character that no name is made of.
    struct ControlLine
    {
        int lineNumber = 0;
        char16_t character = 0;
    };

    static Decoded decode(const QByteArray& bytes);
    static QString nameOf(Encoding encoding);
    // The first `most` lines holding control characters (a tab included) or U+FFFD, the mark
    // of bytes an earlier program could not read. Line ends are CR LF, LF or a lone CR.
    static QList<ControlLine> controlLines(const QString& text, int most);
};

} // namespace quilloa
