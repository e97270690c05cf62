#include "core/files/SiblingTempFile.h"

#include "core/files/PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace quilloa {

SiblingTempFile::SiblingTempFile(QString target) : m_target(std::move(target))
{
    const QFileInfo info(m_target);
    // A hidden name in the same folder: the rename stays on one file system and so is atomic.
    QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                           QStringLiteral(".XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        return;
    m_tempPath = reserve.fileName();
    // What is exported holds patients' names, diagnoses and fees: the file is its owner's alone,
    // whatever the umask and whatever rights a file it replaces had.
    reserve.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

SiblingTempFile::~SiblingTempFile()
{
    if (!m_tempPath.isEmpty())
        QFile::remove(m_tempPath);
}

// Plain system calls: every failure, a full disk at the last buffer included, comes back with
// its cause instead of being lost in a buffered close.
int SiblingTempFile::write(const QByteArray& bytes)
{
    if (m_tempPath.isEmpty())
        return EINVAL;
    const int file =
        ::open(QFile::encodeName(m_tempPath).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (file < 0)
        return errno;
    int error = writeAll(file, bytes);
    if (::close(file) != 0 && error == 0)
        error = errno;
    return error;
}

int SiblingTempFile::writeAll(int file, const QByteArray& bytes)
{
    int error = 0;
    for (qsizetype written = 0; written < bytes.size() && error == 0;) {
        const ssize_t step =
            ::write(file, bytes.constData() + written, size_t(bytes.size() - written));
        if (step >= 0)
            written += step;
        else if (errno != EINTR)
            error = errno;
    }
    return error;
}

// std::filesystem::rename replaces an existing target on every platform, which QFile::rename
// refuses to do.
int SiblingTempFile::commit()
{
    if (m_tempPath.isEmpty())
        return EINVAL;
    // Written out before the rename: a file whose data never reached the disk must not replace
    // the old one.
    const int file = ::open(QFile::encodeName(m_tempPath).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return errno;
    // A writer that made the file afresh under the temporary name gave it the umask's rights.
    int synced = ::fchmod(file, PrivateFiles::kFileMode) == 0 ? 0 : errno;
    if (synced == 0)
        synced = ::fsync(file) == 0 ? 0 : errno;
    ::close(file);
    if (synced != 0)
        return synced;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_tempPath.toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error)
        return error.value();
    m_tempPath.clear();
    return 0;
}

} // namespace quilloa
