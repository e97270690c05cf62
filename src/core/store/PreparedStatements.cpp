#include "core/store/PreparedStatements.h"

#include "core/store/ServerDriver.h"

#include <QSqlError>

namespace quilloa {

struct PreparedStatements::Kept
{
    QSqlQuery query;
    bool lent = false;
};

QHash<QString, PreparedStatements::Statements>& PreparedStatements::all()
{
    static QHash<QString, Statements> statements;
    return statements;
}

PreparedStatements::Lease::Lease(const QString& connectionName, const QSqlDatabase& db,
                                 const QString& sql)
    : m_connectionName(connectionName), m_sql(sql)
{
    Statements& statements = all()[connectionName];
    const std::shared_ptr<Kept> found = statements.value(sql);
    if (found && !found->lent) {
        found->lent = true;
        m_kept = found;
        return;
    }
    auto fresh = std::make_shared<Kept>(Kept{QSqlQuery(db), true});
    fresh->query.setForwardOnly(streamsRows(db));
    if (!fresh->query.prepare(sql)) {
        m_error = fresh->query.lastError();
        return;
    }
    if (!found)
        statements.insert(sql, fresh);
    m_kept = fresh;
}

PreparedStatements::Lease::~Lease()
{
    if (!m_kept)
        return;
    m_kept->query.finish();
    m_kept->lent = false;
    if (!m_discard)
        return;
    const auto connection = all().find(m_connectionName);
    if (connection != all().end() && connection->value(m_sql) == m_kept)
        connection->remove(m_sql);
}

QSqlQuery* PreparedStatements::Lease::query()
{
    return m_kept ? &m_kept->query : nullptr;
}

bool PreparedStatements::streamsRows(const QSqlDatabase& db)
{
    return dynamic_cast<const ServerDriver*>(db.driver()) == nullptr;
}

void PreparedStatements::forget(const QString& connectionName)
{
    all().remove(connectionName);
}

} // namespace quilloa

namespace quilloa {

bool PreparedStatements::inUse(const QString& connectionName)
{
    const auto connection = all().constFind(connectionName);
    if (connection == all().cend())
        return false;
    for (const std::shared_ptr<Kept>& kept : *connection) {
        if (kept->lent)
            return true;
    }
    return false;
}

} // namespace quilloa
