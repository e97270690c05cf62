#pragma once

#include <QString>

class QWidget;

namespace quilloa {

// The folder question for a backup taken to, or brought back from, another drive. It opens
// where the system puts USB drives when it has such a place, so the doctor does not start in
// the program's own folder and climb from there.
class DriveFolderChoice
{
public:
    // The chosen folder, or empty when the doctor cancelled.
    static QString ask(QWidget* parent, const QString& caption);
    // Where the question opens: the user's folder of mounted drives, else the home folder.
    static QString startFolder();
};

} // namespace quilloa
