#pragma once

#include <QString>

namespace quilloa {

// A temporary name beside a target file, for writers that cannot write through a QSaveFile
// (a library that insists on a file name). The finished file replaces the target in one
// rename once it is on the disk, so the target is either the old file or the whole new one; a
// temporary that was never committed is removed.
class SiblingTempFile
{
public:
    explicit SiblingTempFile(QString target);
    ~SiblingTempFile();
    SiblingTempFile(const SiblingTempFile&) = delete;
    SiblingTempFile& operator=(const SiblingTempFile&) = delete;

    // False when no file can be created in the target's folder.
    bool isValid() const { return !m_tempPath.isEmpty(); }
    const QString& tempPath() const { return m_tempPath; }
    // Writes `bytes` as the whole temporary file. Returns the system's error number, 0 when
    // every byte was written.
    int write(const QByteArray& bytes);
    // Flushes the temporary to the disk and puts it in place of the target, replacing it.
    // Returns the system's error number, 0 on success; on failure the target is left as it was.
    int commit();

private:
    QString m_target;
    QString m_tempPath;
};

} // namespace quilloa
