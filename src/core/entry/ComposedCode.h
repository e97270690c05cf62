#pragma once

#include <QString>

namespace quilloa {

// What a Chinese input method hands a box where pinyin initials are typed. While composing it
// shows the letters spaced by syllable ("b t t y"), and when the composition is left open it
// commits them as shown; a code never holds those spaces.
class ComposedCode
{
public:
    // A committed text with the blanks between two Latin letters dropped: "b t t y" becomes
    // "btty"; "高血压" and "城东 3号" stay as they are.
    static QString cleaned(const QString& committed);

    // The letters of a composition as the doctor typed them: "g x y" gives "gxy".
    static QString letters(const QString& preedit);
};

} // namespace quilloa
