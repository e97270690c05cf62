#pragma once

#include <QStringList>

namespace quilloa {

// Splits a body text into the lines a printout prints.
//
// The result is what writing the text followed by one CR LF to a file and reading it back line
// by line would give: CR LF, a lone CR and a lone LF each end a line (as do the line and
// paragraph separators of a rich text document), and the line after the last line end is
// always there, even when empty. So "a\r\nb\r\n" gives "a", "b", "" and an empty body gives
// one empty line. Doing it in memory leaves no file behind and works in a read-only folder.
class BodyLines
{
public:
    // At most maxLines lines, the first ones; a negative maxLines means no limit.
    static QStringList split(const QString& body, qsizetype maxLines = -1);
};

} // namespace quilloa
