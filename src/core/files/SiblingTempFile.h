#pragma once

#include <QString>

namespace quilloa {

// The program's one way of replacing a file: a temporary name beside the target, written with
// plain system calls (a library that insists on a file name writes it itself), flushed, made
// the owner's alone, and renamed over the target, so the target is either the old file or the
// whole new one, and a full disk at the last block is told. A temporary that was never
// committed is removed. (QSaveFile lets a failed final flush pass.)
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

    // Writes all of `bytes` to an open file with plain system calls, so that every failure, a
    // full disk at the last block included, comes back as its errno (0 when all was written).
    static int writeAll(int file, const QByteArray& bytes);

private:
    QString m_target;
    QString m_tempPath;
};

} // namespace quilloa
