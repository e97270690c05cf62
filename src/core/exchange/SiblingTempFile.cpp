#include "exchange/SiblingTempFile.h"

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
    if (reserve.open())
        m_tempPath = reserve.fileName();
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
