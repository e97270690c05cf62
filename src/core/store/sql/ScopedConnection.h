#pragma once

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>

namespace quilloa {

// A connection of one's own for a single task (a snapshot, a copy), apart from the store's held
// one, under a name no other connection has; closed and removed when it goes. Every query on it
// must be gone by then.
class ScopedConnection
{
public:
    ScopedConnection(const QString& driver, const QString& purpose);
    // On a driver of the program's own (a server connection); the connection owns it.
    ScopedConnection(QSqlDriver* driver, const QString& purpose);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace quilloa
