#pragma once

#include <QString>

namespace quilloa {

// How a picked drug grows the prescription body. A stored drug entry is the drug's name and
// strength, then "/" and a usage for each usage line it has. The body is kept as plain
// text with CR LF line ends, the form it is stored and printed in.
class DrugEntryText
{
public:
    static const QString kLineEnd;     // CR LF
    static const QString kUsagePrefix; // four spaces and "用法："

    // The lines one pick adds: the part before the first "/", then for every "/" a new line
    // starting with the usage prefix, and a final line end.
    static QString appendedLines(const QString& entryText);

    // The body after a pick: always appended at the end, whatever the body held.
    static QString bodyAfterPick(const QString& body, const QString& entryText);

    // The line end conventions of the body: a text editor reports "\n", the body is CR LF.
    // A lone CR or LF counts as one line end, so converting twice changes nothing.
    static QString toCrLf(const QString& text);
    static QString fromCrLf(const QString& text);
};

} // namespace quilloa
