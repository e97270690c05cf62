#pragma once

#include <QString>

namespace quilloa {

// The user manual shipped inside the program, opened in the user's browser. It is written out
// to a local file first, so it opens without a network.
class OnlineHelp
{
public:
    // Writes the manual into `folder` (created if missing, readable by its owner only);
    // returns the file, or an empty text when it could not be written.
    static QString writeManual(const QString& folder);
    // Where the manual is written: the user's own cache folder, or else a temporary folder
    // made for this run alone. Never a fixed name shared by every user of the computer, where
    // another user could have put a file of their own first.
    static QString manualFolder();
    // Writes the manual and asks the desktop to open it. Nothing is reported when that fails.
    static bool open();
};

} // namespace quilloa
