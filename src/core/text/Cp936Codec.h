#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace quilloa {

// Conversion between text and code page 936 (GBK) bytes, the character set of every Chinese
// text the program stores or prints and of the escaped bytes in a prescription body.
//
// The same on every platform; only the tables beneath differ (Cp936Conversion).
//
// A character counts as encodable only when its bytes decode back to the same character, so
// one-way "best fit" mappings are treated as not encodable.
//
// The converters are cached per thread; every call is cheap enough for per-keystroke use.
class Cp936Codec
{
public:
    // The bytes of one character (one byte for ASCII, two for a Chinese character), or none
    // when code page 936 has no round-trip encoding for it (emoji, lone surrogates, ...).
    static std::optional<QByteArray> encodeChar(char32_t c);

    // The bytes of a whole text; a character without an encoding becomes "?" and clears
    // *allOk when allOk is given.
    static QByteArray encode(QStringView text, bool* allOk = nullptr);

    // The text of a byte sequence. Invalid or truncated sequences (a lead byte at the end)
    // become U+FFFD; the call never keeps state from one call to the next.
    static QString decode(QByteArrayView bytes);
};

} // namespace quilloa
