#pragma once

#include "core/oldimport/JetStatus.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

#include <memory>

namespace quilloa {

// The path the reader's C library can open the old file by. On Windows it takes a path in the
// ANSI code page, so a folder named in Chinese is reached by its short name or, where the system
// keeps none, through a read-only copy under an ASCII name that lives as long as this object.
class JetFilePath
{
public:
    [[nodiscard]] static std::unique_ptr<JetFilePath> of(const QString& path, JetStatus& status);

    const QByteArray& native() const { return m_native; }

private:
    JetFilePath() = default;

    QByteArray m_native;
    std::unique_ptr<QTemporaryFile> m_copy;
};

} // namespace quilloa
