#pragma once

#include "core/store/StoreResult.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

namespace quilloa {

// One store file on disk. A connection is opened on first use and kept, so a keystroke lookup
// pays only for its query; yet every operation sees the file as it stands: the connection is
// opened again when the file at the path is no longer the one it was opened on (replaced or
// restored from a backup) and after an operation failed (a lock, a read-only file, an I/O
// error), so a store that was mended while the program runs works at the next try. The file is
// opened without create: a store that is missing stays missing and every operation on it
// fails. No transaction is ever left open, and the journal is the classic rollback journal, so
// between two operations the file alone is a complete, copyable store.
class StoreFile
{
public:
    explicit StoreFile(QString path);

    const QString& path() const { return m_path; }
    // The name of the held connection of this file.
    const QString& connectionName() const { return m_connectionName; }

    // The open connection, or the reason it cannot be had.
    StoreResult<QSqlDatabase> database() const;
    // An operation on this file failed: the next one opens the file afresh.
    void operationFailed() const;

    // Closes every held connection, so that the files can be copied or removed.
    static void closeAll();
    // Closes the held connection of one file, if any.
    static void close(const QString& path);

private:
    static QString connectionNameOf(const QString& path);
    StoreResult<QSqlDatabase> reopen() const;

    QString m_path;
    // Worked out once: a keystroke lookup asks for the connection every time.
    QString m_connectionName;
    QByteArray m_nativePath;
};

} // namespace quilloa
