#pragma once

#include <QString>

#include <utility>

namespace quilloa {

// The outcome of writing a file for the user: success, or a plain Chinese message naming the
// cause and what to do, ready to be shown as it stands.
class [[nodiscard]] FileWriteStatus
{
public:
    static FileWriteStatus success() { return FileWriteStatus(QString()); }
    static FileWriteStatus failure(QString message) { return FileWriteStatus(std::move(message)); }

    bool ok() const { return m_message.isEmpty(); }
    const QString& message() const { return m_message; }

    // `bytes` become the file `path` in one step (SiblingTempFile), or the file stays as it was
    // and the failure names the cause.
    static FileWriteStatus replaceFile(const QString& path, const QByteArray& bytes);

    // The messages shared by every writer, for the file `path`.
    static QString cannotCreate(const QString& path);
    static QString cannotWrite(const QString& path);
    static QString cannotReplace(const QString& path);
    // The same, naming the cause the system reported (an errno value); 0 for an unknown cause.
    static QString cannotWrite(const QString& path, int systemError);
    static QString cannotReplace(const QString& path, int systemError);

private:
    explicit FileWriteStatus(QString message) : m_message(std::move(message)) {}
    QString m_message;
};

} // namespace quilloa
