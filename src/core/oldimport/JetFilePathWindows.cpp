#include "core/oldimport/JetFilePath.h"

#include <QDir>
#include <QFile>

#include <windows.h>

namespace quilloa {

namespace {

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QString shortPath(const QString& path)
{
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0)
        return QString();
    std::wstring shortened(length, L'\0');
    const DWORD written = GetShortPathNameW(wide.c_str(), shortened.data(), length);
    if (written == 0 || written >= length)
        return QString();
    shortened.resize(written);
    return QString::fromStdWString(shortened);
}

// A folder the copy may go to whose own path is plain ASCII.
QString asciiFolder()
{
    const QStringList candidates{QDir::tempPath(), shortPath(QDir::tempPath()),
                                 QStringLiteral("C:/Windows/Temp")};
    for (const QString& folder : candidates) {
        if (!folder.isEmpty() && isAscii(folder) && QDir(folder).exists())
            return folder;
    }
    return QString();
}

} // namespace

std::unique_ptr<JetFilePath> JetFilePath::of(const QString& path, JetStatus& status)
{
    std::unique_ptr<JetFilePath> file(new JetFilePath);
    status = JetStatus::success();
    QString usable = isAscii(path) ? QDir::toNativeSeparators(path) : shortPath(path);
    if (!usable.isEmpty() && isAscii(usable)) {
        file->m_native = usable.toLatin1();
        return file;
    }
    const QString folder = asciiFolder();
    if (folder.isEmpty()) {
        status = JetStatus::failure(JetStatus::Fault::Unreadable, path,
                                    QStringLiteral("找不到名称只含英文字母的临时文件夹"));
        return nullptr;
    }
    file->m_copy =
        std::make_unique<QTemporaryFile>(folder + QStringLiteral("/quilloa-old-XXXXXX.dat"));
    QFile source(path);
    if (!file->m_copy->open() || !source.open(QIODevice::ReadOnly)) {
        status = JetStatus::failure(JetStatus::Fault::Unreadable, path, source.errorString());
        return nullptr;
    }
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || file->m_copy->write(block) != block.size()) {
            status = JetStatus::failure(JetStatus::Fault::Unreadable, path, source.errorString());
            return nullptr;
        }
    }
    file->m_copy->close();
    file->m_native = QDir::toNativeSeparators(file->m_copy->fileName()).toLatin1();
    return file;
}

} // namespace quilloa
