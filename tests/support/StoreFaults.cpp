#include "support/StoreFaults.h"

#include "core/store/StoreConnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace quilloa::test {

DamagedStore::DamagedStore(QString path) : m_path(std::move(path))
{
#ifdef Q_OS_WIN
    // Windows renames no file that is open, and this program keeps its stores open between
    // operations; the damage stands for another program's, done while this one let go.
    StoreConnection::close(m_path);
#endif
    QFile::rename(m_path, m_path + QStringLiteral(".kept"));
    QFile junk(m_path);
    if (junk.open(QIODevice::WriteOnly))
        junk.write(QByteArray(8192, 'x'));
}

DamagedStore::~DamagedStore()
{
    restore();
}

void DamagedStore::restore()
{
    if (m_restored)
        return;
    m_restored = true;
    QFile::remove(m_path);
    QFile::rename(m_path + QStringLiteral(".kept"), m_path);
}

bool damageTablePage(const QString& path, const QString& table)
{
    qint64 root = 0;
    qint64 pageSize = 0;
    const QString name = QStringLiteral("test-damage:") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("PRAGMA page_size")) && query.next())
            pageSize = query.value(0).toLongLong();
        query.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"));
        query.addBindValue(table);
        if (query.exec() && query.next())
            root = query.value(0).toLongLong();
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile file(path);
    if (root < 2 || pageSize <= 0 || !file.open(QIODevice::ReadWrite) ||
        !file.seek((root - 1) * pageSize))
        return false;
    return file.write(QByteArray(int(pageSize), '\x5a')) == pageSize;
}

LockedStore::LockedStore(const QString& path)
    : m_connection(QStringLiteral("test-lock:") + QUuid::createUuid().toString())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    if (db.open())
        m_locked = QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
}

LockedStore::~LockedStore()
{
    release();
    QSqlDatabase::removeDatabase(m_connection);
}

void LockedStore::release()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (m_locked)
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    m_locked = false;
}

} // namespace quilloa::test
