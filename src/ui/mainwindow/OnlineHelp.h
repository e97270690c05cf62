#pragma once

#include <QString>

namespace quilloa {

// The user manual shipped inside the program, opened in the user's browser. It is written out
// to a local file first, so it opens without a network.
class OnlineHelp
{
public:
    // Writes the manual into `folder` (created if missing); returns the file, or an empty text
    // when it could not be written.
    static QString writeManual(const QString& folder);
    // Writes the manual to the temporary folder and asks the desktop to open it. Nothing is
    // reported when that fails.
    static bool open();
};

} // namespace quilloa
