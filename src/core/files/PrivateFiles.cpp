#include "core/files/PrivateFiles.h"

#include "core/files/FileSystemKind.h"

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

// A drive without modes refuses the chmod; what the mount gives is then as private as it gets.
bool madePrivate(int result, const QString& path)
{
    return result == 0 || !FileSystemKind::holdsModes(path);
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
    return madePrivate(::chmod(native(clean).constData(), kFolderMode), clean);
}

bool PrivateFiles::createFile(const QString& path)
{
    const int file =
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (file < 0)
        return false;
    const int changed = ::fchmod(file, kFileMode);
    ::close(file);
    return madePrivate(changed, path);
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
    return madePrivate(::chmod(name.constData(), owner), path);
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
