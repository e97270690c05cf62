#include "core/backup/ReadOnlyStore.h"

#include <QAtomicInteger>
#include <QFileInfo>

namespace quilloa {
namespace {

QString uniqueConnectionName()
{
    static QAtomicInteger<int> serial = 0;
    return QStringLiteral("quilloa-readonly-%1").arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

ReadOnlyStore::ReadOnlyStore(const QString& path) : m_connectionName(uniqueConnectionName())
{
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("找不到数据文件“%1”。").arg(path);
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    m_open = db.open();
    if (!m_open)
        m_error = QStringLiteral("无法打开数据文件“%1”。").arg(path);
}

ReadOnlyStore::~ReadOnlyStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase ReadOnlyStore::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace quilloa
