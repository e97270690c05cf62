#include "core/store/SystemFault.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

namespace quilloa {
namespace {

bool diskIsFull(const QString& folder)
{
    struct statvfs space
    {
    };
    return ::statvfs(QFile::encodeName(folder).constData(), &space) == 0 && space.f_bavail == 0;
}

bool canAccess(const QString& path, int mode)
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

StoreFault SystemFault::ofErrno(int error, StoreFault fallback)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return StoreFault::DiskFull;
    case EROFS:
        return StoreFault::ReadOnly;
    case EACCES:
    case EPERM:
        return StoreFault::ReadOnly;
    case ENOENT:
        return StoreFault::Missing;
    case EAGAIN:
        return StoreFault::Busy;
    case EIO:
        return StoreFault::Failed;
    default:
        return fallback;
    }
}

StoreFault SystemFault::refine(StoreFault fault, const QString& path)
{
    if (path.isEmpty() || (fault != StoreFault::ReadOnly && fault != StoreFault::Failed))
        return fault;
    const QFileInfo file(path);
    const bool exists = file.exists();
    if (exists && !canAccess(path, R_OK))
        return StoreFault::Unreadable;
    const QString folder = file.absolutePath();
    if (diskIsFull(folder))
        return StoreFault::DiskFull;
    // The engine says read-only, yet file and folder can be written: the cause lies elsewhere.
    if (fault == StoreFault::ReadOnly && (!exists || canAccess(path, W_OK)) &&
        canAccess(folder, W_OK))
        return StoreFault::Failed;
    return fault;
}

} // namespace quilloa
