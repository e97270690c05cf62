#include "core/files/FileSystemKind.h"

namespace quilloa {

// Windows keeps files private by access lists, not modes, on every drive alike.
bool FileSystemKind::holdsModes(const QString& /*path*/)
{
    return true;
}

bool FileSystemKind::readableByOthers(const QString& /*path*/)
{
    return false;
}

} // namespace quilloa
