#include "core/oldimport/JetFilePath.h"

#include <QFile>

namespace quilloa {

// The C library takes the file system's own bytes, whatever the characters.
std::unique_ptr<JetFilePath> JetFilePath::of(const QString& path, JetStatus& status)
{
    std::unique_ptr<JetFilePath> file(new JetFilePath);
    file->m_native = QFile::encodeName(path);
    status = JetStatus::success();
    return file;
}

} // namespace quilloa
