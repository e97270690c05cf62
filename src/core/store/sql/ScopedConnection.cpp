#include "core/store/sql/ScopedConnection.h"

#include <QUuid>

namespace quilloa {
namespace {

QString uniqueName(const QString& purpose)
{
    return QStringLiteral("quilloa-") + purpose + QLatin1Char(':') +
           QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

ScopedConnection::ScopedConnection(const QString& driver, const QString& purpose)
    : m_name(uniqueName(purpose)), m_db(QSqlDatabase::addDatabase(driver, m_name))
{
}

ScopedConnection::ScopedConnection(QSqlDriver* driver, const QString& purpose)
    : m_name(uniqueName(purpose)), m_db(QSqlDatabase::addDatabase(driver, m_name))
{
}

ScopedConnection::~ScopedConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

} // namespace quilloa
