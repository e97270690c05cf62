#pragma once

#include <QString>
#include <QStringList>

namespace quilloa {

// Patient data is health data: every folder and file the program makes for it can be read by
// its owner only (folders 0700, files 0600), whatever the umask, so another account on the same
// computer sees nothing. Each call sets the mode itself rather than trusting the umask.
class PrivateFiles
{
public:
    static constexpr unsigned kFolderMode = 0700;
    static constexpr unsigned kFileMode = 0600;

    // Makes `path` and any missing folder above it; every folder it makes is private, and
    // `path` itself is narrowed when it already stood open to others. False when it cannot
    // be made or narrowed.
    static bool makeFolder(const QString& path);
    // Makes an empty private file that did not exist. A database created on it keeps the mode,
    // and SQLite gives its journal the database file's mode.
    static bool createFile(const QString& path);
    // Takes read and write rights from everyone but the owner; true when nothing is left open.
    static bool narrow(const QString& path);

    // Narrows each path that exists; returns those that could not be narrowed.
    static QStringList narrowAll(const QStringList& paths);
};

} // namespace quilloa
