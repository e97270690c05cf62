#pragma once

#include <QString>

namespace quilloa {

// A Chinese input method in full-width mode types "１２．５" or "－３"; a reader of numbers
// wants "12.5" and "-3". Only the copy handed to a number reader is folded: what the user
// typed is stored and shown as it stands.
class HalfWidth
{
public:
    // The full-width forms of the ASCII characters (U+FF01 to U+FF5E) become their ASCII
    // originals and the ideographic space (U+3000) a plain blank; everything else is kept.
    static QString fold(const QString& text);
};

} // namespace quilloa
