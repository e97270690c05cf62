#include "core/store/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quilloa {
namespace {

constexpr mode_t kOthers = S_IRWXG | S_IRWXO;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// For file systems that cannot copy inside the kernel.
bool copyByReading(int from, int to)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, size_t(got - done));
            if (put < 0 && errno != EINTR)
                return false;
            done += put > 0 ? put : 0;
        }
    }
}

} // namespace

bool PrivateFiles::makeFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(clean).isDir())
        return narrow(clean);
    const QString parent = QFileInfo(clean).absolutePath();
    if (parent != clean && !QFileInfo(parent).isDir() && !makeFolder(parent))
        return false;
    // mkdir's mode is only ever narrowed by the umask; the chmod after it makes it exact.
    if (::mkdir(native(clean).constData(), kFolderMode) != 0 && errno != EEXIST)
        return false;
    return ::chmod(native(clean).constData(), kFolderMode) == 0;
}

bool PrivateFiles::createFile(const QString& path)
{
    const int file =
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (file < 0)
        return false;
    const bool exact = ::fchmod(file, kFileMode) == 0;
    ::close(file);
    return exact;
}

bool PrivateFiles::narrow(const QString& path)
{
    struct stat status
    {
    };
    const QByteArray name = native(path);
    if (::stat(name.constData(), &status) != 0)
        return false;
    if ((status.st_mode & kOthers) == 0)
        return true;
    const mode_t owner = status.st_mode & S_IRWXU;
    return ::chmod(name.constData(), owner) == 0;
}

// The kernel copies the bytes (copy_file_range), as fast as the system's own copy of a large
// archive; the target is private from its first byte.
bool PrivateFiles::copy(const QString& source, const QString& target)
{
    const int from = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    const int to =
        ::open(native(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    bool copied = to >= 0 && ::fchmod(to, kFileMode) == 0;
    while (copied) {
        const ssize_t moved = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (moved > 0 || (moved < 0 && errno == EINTR))
            continue;
        if (moved < 0)
            copied =
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) &&
                copyByReading(from, to);
        break;
    }
    ::close(from);
    if (to >= 0)
        ::close(to);
    if (!copied && to >= 0)
        QFile::remove(target);
    return copied;
}

QStringList PrivateFiles::narrowAll(const QStringList& paths)
{
    QStringList open;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path) && !narrow(path))
            open << path;
    }
    return open;
}

} // namespace quilloa
