#include "core/store/ServerPreparation.h"

#include "core/store/BoundQuery.h"
#include "core/store/ScopedConnection.h"
#include "core/store/ServerConnection.h"
#include "core/store/ServerDriver.h"
#include "core/store/ServerSchema.h"
#include "core/store/StoreConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace quilloa {
namespace {

// %1 is the workstation role and %2 the database, each quoted by the server itself (format's
// %I), never pasted into the text by the program.
const char* const kGrants[] = {
    "REVOKE CREATE ON SCHEMA public FROM PUBLIC",
    "REVOKE ALL ON DATABASE %2 FROM PUBLIC",
    "GRANT CONNECT ON DATABASE %2 TO %1",
    "GRANT USAGE ON SCHEMA public TO %1",
    "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC",
    "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM %1",
    "GRANT SELECT, INSERT, UPDATE, DELETE ON \"档案\", \"药品\", \"诊断\", \"地址\" TO %1",
    // The single rows are rewritten in place, never added or removed.
    "GRANT SELECT, UPDATE ON \"密码\", \"设置\" TO %1",
    // The stores' version is read at every start; only the owner's upgrades write it.
    "GRANT SELECT ON quilloa_schema TO %1",
    // The search index is kept by its trigger with the owner's rights; rooms only read it.
    "GRANT SELECT ON \"档案_姓名字\" TO %1",
    "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1",
};

ServerPreparation::Outcome refused(const QString& why)
{
    return {false, QStringLiteral("没有改动服务器：%1").arg(why)};
}

QString failed(const QSqlError& error, const QSqlDatabase& db, const QString& server)
{
    return ServerConnection::failure(error, db, server).error();
}

// Runs `statement` with its names quoted by the server; the error when it failed.
std::optional<QSqlError> grant(QSqlDatabase& db, const char* statement, const QString& role)
{
    QString text = QString::fromUtf8(statement);
    text.replace(QStringLiteral("%1"), QStringLiteral("%1$I"))
        .replace(QStringLiteral("%2"), QStringLiteral("%2$I"));
    QSqlQuery build(db);
    if (!BoundQuery::exec(build, QStringLiteral("SELECT format(?, ?::text, current_database())"),
                          {text, role}) ||
        !build.next())
        return build.lastError();
    const QString sql = build.value(0).toString();
    build.finish();
    QSqlQuery run(db);
    if (!run.exec(sql))
        return run.lastError();
    return std::nullopt;
}

// Tables made by an earlier version fold texts by the database's locale (ä finds Ä there but
// not in a store file); their text columns are turned to the "C" collation the program now
// makes them with. Only the owner may, so it is done here.
std::optional<QSqlError> foldAsTheFilesDo(QSqlDatabase& db)
{
    QSqlQuery find(db);
    if (!find.exec(QStringLiteral(
            "SELECT format('ALTER TABLE %I ALTER COLUMN %I TYPE citext COLLATE \"C\"', "
            "c.relname, a.attname) FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
            "WHERE c.relnamespace = 'public'::regnamespace AND c.relkind = 'r' "
            "AND a.attnum > 0 AND NOT a.attisdropped AND a.atttypid = 'citext'::regtype "
            "AND a.attcollation <> 'pg_catalog.\"C\"'::regcollation")))
        return find.lastError();
    QStringList statements;
    while (find.next())
        statements << find.value(0).toString();
    find.finish();
    QSqlQuery run(db);
    for (const QString& statement : statements) {
        if (!run.exec(statement))
            return run.lastError();
    }
    return std::nullopt;
}

} // namespace

ServerPreparation::Outcome ServerPreparation::prepare(const StoreLocation& owner,
                                                      const QString& workstationRole,
                                                      bool withSamples)
{
    const QString role = workstationRole.trimmed();
    if (role.isEmpty())
        return refused(QStringLiteral("没有写明工作站用户（--workstation-role）。"));
    const StoreConnection server(owner);
    const StoreResult<bool> made = ServerSchema::ensure(server, withSamples);
    if (!made.ok())
        return refused(made.error());
    ScopedConnection connection(new ServerDriver, QStringLiteral("prepare"));
    QSqlDatabase& db = connection.db();
    const StoreStatus opened = ServerConnection::open(db, owner);
    if (!opened.ok())
        return refused(opened.error());
    QSqlQuery query(db);
    if (!BoundQuery::exec(
            query, QStringLiteral("SELECT rolname = current_user FROM pg_roles WHERE rolname = ?"),
            {role}))
        return refused(failed(query.lastError(), db, server.path()));
    if (!query.next())
        return refused(QStringLiteral("服务器上没有用户“%1”。请先让管理员建好它（例如 sudo -u "
                                      "postgres createuser --no-login %1），然后重试。")
                           .arg(role));
    if (query.value(0).toBool())
        return refused(QStringLiteral("“%1”就是现在连接所用的数据库所有者。工作站要用另一个"
                                      "用户，它只得到程序所需的权限。")
                           .arg(role));
    query.finish();
    if (!db.transaction())
        return refused(failed(db.lastError(), db, server.path()));
    query = QSqlQuery();
    if (const std::optional<QSqlError> error = foldAsTheFilesDo(db)) {
        const QString why = failed(*error, db, server.path());
        db.rollback();
        return refused(why);
    }
    for (const char* statement : kGrants) {
        if (const std::optional<QSqlError> error = grant(db, statement, role)) {
            const QString why = failed(*error, db, server.path());
            db.rollback();
            return refused(why);
        }
    }
    if (!db.commit())
        return refused(failed(db.lastError(), db, server.path()));
    return {true,
            QStringLiteral("%1已准备好（数据表%2）。工作站用户“%3”只能查看、新增、修改和"
                           "删除记录与词条，改写密码和设置，不能删除或清空数据表，也不能"
                           "改动表的结构。各台电脑用属于“%3”的用户连接。")
                .arg(server.path(),
                     made.value() ? QStringLiteral("已新建") : QStringLiteral("原已存在"), role)};
}

ServerPreparation::Outcome ServerPreparation::prepare(const QString& serverText,
                                                      const QString& workstationRole)
{
    const StoreResult<StoreLocation> location = StoreLocation::server(serverText);
    if (!location.ok())
        return refused(location.error());
    const Outcome outcome = prepare(location.value(), workstationRole);
    StoreConnection::closeAll();
    return outcome;
}

} // namespace quilloa
