#include "core/exchange/SiblingTempFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>
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
    // A temporary is made private; the finished file is an ordinary one, or keeps the rights
    // of the file it replaces.
    const QFileInfo existing(m_target);
    reserve.setPermissions(existing.exists() ? existing.permissions()
                                             : QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
}

SiblingTempFile::~SiblingTempFile()
{
    if (!m_tempPath.isEmpty())
        QFile::remove(m_tempPath);
}

// std::filesystem::rename replaces an existing target on every platform, which QFile::rename
// refuses to do.
bool SiblingTempFile::commit()
{
    if (m_tempPath.isEmpty())
        return false;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_tempPath.toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error)
        return false;
    m_tempPath.clear();
    return true;
}

} // namespace quilloa
