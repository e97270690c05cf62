#pragma once

#include <QSqlDatabase>
#include <QString>

namespace quilloa::test {

// Puts a damaged file where a store stands, as another program or a bad disk might, and puts
// the real store back on restore() or at the end.
class DamagedStore
{
public:
    explicit DamagedStore(QString path);
    ~DamagedStore();
    DamagedStore(const DamagedStore&) = delete;
    DamagedStore& operator=(const DamagedStore&) = delete;

    void restore();

private:
    QString m_path;
    bool m_restored = false;
};

// Writes garbage over the first page of `table`'s tree in the store file at `path`, as a bad
// sector would: the file still opens and its schema reads, but every read of the table meets
// the damage. False when the page cannot be found or written.
bool damageTablePage(const QString& path, const QString& table);

// Another program holding a store locked: an exclusive transaction on a connection of its own.
class LockedStore
{
public:
    explicit LockedStore(const QString& path);
    ~LockedStore();
    LockedStore(const LockedStore&) = delete;
    LockedStore& operator=(const LockedStore&) = delete;

    bool isLocked() const { return m_locked; }
    void release();

private:
    QString m_connection;
    bool m_locked = false;
};

} // namespace quilloa::test
