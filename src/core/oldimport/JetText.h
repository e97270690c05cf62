#pragma once

#include <QString>

#include <optional>

namespace quilloa {

// Jet 4 keeps text as UTF-16, or "compressed": after the mark FF FE, characters below U+0100 take
// one byte and a zero byte switches between one and two bytes a character. Decoded here rather
// than through the C library's converter, which turns characters beyond U+FFFF into "??".
class JetText
{
public:
    // The text of `size` stored bytes; none when they end in the middle of a character.
    static std::optional<QString> decode(const unsigned char* bytes, qsizetype size);
};

} // namespace quilloa
