#pragma once

#include "core/store/StoreLocation.h"
#include "core/store/StoreResult.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

class QSqlError;

namespace quilloa {

// One store: a store file on disk, or the stores' database on a server. A connection is opened
// on first use and kept, so a keystroke lookup pays only for its query; yet every operation
// sees the store as it stands: the connection is opened again when the file at the path is no
// longer the one it was opened on (replaced or restored from a backup) and after an operation
// failed (a lock, a read-only file, an I/O error, a server connection that was lost), so a store
// that was mended while the program runs works at the next try. A file is opened without
// create: a store that is missing stays missing and every operation on it fails. No
// transaction is ever left open, and the journal is the classic rollback journal, so between two
// operations the file alone is a complete, copyable store.
class StoreConnection
{
public:
    explicit StoreConnection(QString path);
    // Both stores of a server share its database and one held connection.
    explicit StoreConnection(const StoreLocation& server);

    // The file path, or the server's description for messages.
    const QString& path() const { return m_path; }
    bool isServer() const { return m_location.isServer(); }
    // Where the data is kept, for the user: "本机文件 <folder>" or the server, never a password.
    QString description() const;
    const StoreLocation& location() const { return m_location; }
    // The name of the held connection of this store.
    const QString& connectionName() const { return m_connectionName; }

    // The open connection, or the reason it cannot be had.
    StoreResult<QSqlDatabase> database() const;
    // An operation on this store failed: the next one opens it afresh.
    void operationFailed() const;
    // The engine's failure in the user's terms; like every failed operation, except a value
    // its column refuses, it makes the next operation open the store afresh.
    StoreStatus failure(const QSqlError& error) const;

    // Another program was found holding the file at `path`: for a few seconds, operations on it
    // wait only briefly before they are told as busy (see StoreConnection.cpp).
    static void noteBusy(const QString& path);

    // Closes every held connection, so that the files can be copied or removed.
    static void closeAll();
    // Closes the held connection of one file, if any.
    static void close(const QString& path);

private:
    static QString connectionNameOf(const QString& path);
    StoreResult<QSqlDatabase> reopen() const;
    StoreResult<QSqlDatabase> serverDatabase() const;

    StoreLocation m_location;
    QString m_path;
    // Worked out once: a keystroke lookup asks for the connection every time.
    QString m_connectionName;
    QByteArray m_nativePath;
};

} // namespace quilloa
