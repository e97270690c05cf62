#include "core/store/file/PreparedStatements.h"

#include "core/store/server/ServerDriver.h"

#include <QSqlError>

#include <sqlite3.h>

#include <algorithm>

namespace quilloa {

struct PreparedStatements::Kept
{
    QSqlQuery query;
    bool lent = false;
};

// The connection is kept with its statement: one compiled on a connection since closed is never
// lent for another.
struct PreparedStatements::KeptDirect
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    bool lent = false;

    KeptDirect(sqlite3* handle, sqlite3_stmt* compiled) : db(handle), statement(compiled) {}
    ~KeptDirect() { sqlite3_finalize(statement); }
    KeptDirect(const KeptDirect&) = delete;
    KeptDirect& operator=(const KeptDirect&) = delete;
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
    allDirect().remove(connectionName);
}

QHash<QString, PreparedStatements::DirectStatements>& PreparedStatements::allDirect()
{
    static QHash<QString, DirectStatements> statements;
    return statements;
}

PreparedStatements::DirectLease::DirectLease(const QString& connectionName, sqlite3* db,
                                             const QString& sql)
    : m_connectionName(connectionName), m_sql(sql)
{
    DirectStatements& statements = allDirect()[connectionName];
    const std::shared_ptr<KeptDirect> found = statements.value(sql);
    if (found && found->db == db && !found->lent) {
        found->lent = true;
        m_kept = found;
        return;
    }
    sqlite3_stmt* compiled = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &compiled, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(compiled);
        return;
    }
    m_kept = std::make_shared<KeptDirect>(db, compiled);
    m_kept->lent = true;
    // A statement lent out already (a read inside a read) stays the kept one.
    if (!found || found->db != db)
        statements.insert(sql, m_kept);
}

PreparedStatements::DirectLease::~DirectLease()
{
    if (!m_kept)
        return;
    sqlite3_reset(m_kept->statement);
    sqlite3_clear_bindings(m_kept->statement);
    m_kept->lent = false;
    if (!m_discard)
        return;
    const auto connection = allDirect().find(m_connectionName);
    if (connection != allDirect().end() && connection->value(m_sql) == m_kept)
        connection->remove(m_sql);
}

sqlite3_stmt* PreparedStatements::DirectLease::statement() const
{
    return m_kept ? m_kept->statement : nullptr;
}

bool PreparedStatements::inUse(const QString& connectionName)
{
    const auto anyLent = [](const auto& statements) {
        return std::any_of(statements.cbegin(), statements.cend(),
                           [](const auto& kept) { return kept->lent; });
    };
    return anyLent(all().value(connectionName)) || anyLent(allDirect().value(connectionName));
}

} // namespace quilloa
