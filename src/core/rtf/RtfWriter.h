#pragma once

#include <QString>

namespace quilloa {

// Writes a prescription body typed in one font as the rich-text document kept in the record.
//
// The document starts "{\rtf1\ansi\deff0{\fonttbl{\f0\fnil\fcharset134 " + font name + ";}}",
// separates lines by "\par" and closes the last line with one more "\par" (the mark of the last
// paragraph, as a rich-edit box writes it). Every character outside ASCII is written as its code
// page 936 bytes "\'xx", a character code page 936 lacks as "\uN?", and "\", "{", "}" are
// escaped, so the result is pure ASCII.
class RtfWriter
{
public:
    // Lines of `plainText` are split on CR LF, CR or LF. A pointSize of 0 or less writes no size.
    static QString write(const QString& plainText, const QString& fontName, double pointSize);

private:
    static QString header(const QString& fontName, double pointSize);
    static QString escaped(const QString& text);
    static void appendCharacter(QString& out, char32_t c);
    static void appendBytes(QString& out, const QByteArray& bytes);
    static void appendUnicode(QString& out, char32_t c);
};

} // namespace quilloa
