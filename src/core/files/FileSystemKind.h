#pragma once

#include <QString>

namespace quilloa {

// A USB drive formatted for cameras and Windows (FAT, exFAT, NTFS) keeps no owner or mode per
// file: the mount gives every file the same rights and the kernel refuses a chmod. Copies
// written there cannot be made the owner's alone, and saying so is all the program can do.
class FileSystemKind
{
public:
    // False when `path` lies on a file system without per-file modes.
    [[nodiscard]] static bool holdsModes(const QString& path);
    // True when accounts other than the owner may read the file at `path`, as on such a drive.
    [[nodiscard]] static bool readableByOthers(const QString& path);
};

} // namespace quilloa
