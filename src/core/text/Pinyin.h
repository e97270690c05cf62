#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>

namespace quilloa {

// Pinyin initials of Chinese characters and the pinyin codes of reference-list names.
//
// The level-1 characters of GB2312 are sorted by pinyin, so each initial owns one contiguous
// range of code page 936 codes; a character's initial is found from its code alone.
class Pinyin
{
public:
    // The code page 936 encoding of a character read as one signed 16-bit number, lead byte
    // high (so every two-byte character is negative); a one-byte character gives its byte
    // value; a character that code page 936 cannot encode gives the code of a space.
    static qint16 characterCode(char32_t c);
    static qint16 characterCode(QChar c) { return characterCode(char32_t(c.unicode())); }

    // The upper-case initial of a character code, or a space for anything that is not a
    // level-1 character (apart from three level-2 characters common in drug names).
    static QChar initialOf(qint16 code);

    // The lower-case code of a name: one initial per character up to and including the first
    // space (the whole name when it holds none). Digits, Latin letters, symbols and the space
    // itself each contribute a space.
    static QString codeOfName(const QString& name);
};

} // namespace quilloa
