#include "core/files/FileSystemKind.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/vfs.h>

namespace quilloa {
namespace {

// Magic numbers of statfs(2): the kernel's FAT and exFAT drivers, its NTFS drivers, and FUSE,
// through which ntfs-3g and exfat-fuse mount such drives.
constexpr unsigned long kModeless[] = {0x4d44UL, 0x2011BAB0UL, 0x5346544eUL, 0x7366746eUL,
                                       0x65735546UL};

} // namespace

bool FileSystemKind::holdsModes(const QString& path)
{
    struct statfs system
    {
    };
    if (::statfs(QFile::encodeName(path).constData(), &system) != 0)
        return true;
    for (const unsigned long magic : kModeless) {
        if (static_cast<unsigned long>(system.f_type) == magic)
            return false;
    }
    return true;
}

bool FileSystemKind::readableByOthers(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

} // namespace quilloa
