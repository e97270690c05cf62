#pragma once

#include <QSqlDatabase>
#include <QString>

namespace quilloa {

// A store file opened read-only on a connection of its own for the length of
// one look, so a backup can be read and checked without touching the program's
// held connections.
class ReadOnlyStore
{
public:
    explicit ReadOnlyStore(const QString& path);
    ~ReadOnlyStore();
    ReadOnlyStore(const ReadOnlyStore&) = delete;
    ReadOnlyStore& operator=(const ReadOnlyStore&) = delete;

    bool isOpen() const { return m_open; }
    const QString& error() const { return m_error; }
    QSqlDatabase database() const;

private:
    QString m_connectionName;
    bool m_open = false;
    QString m_error;
};

} // namespace quilloa
