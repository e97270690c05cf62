#include "core/store/server/ServerPreparation.h"

#include "core/store/StoreConnection.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerSchema.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/ScopedConnection.h"

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
    // Records are added and read, never changed; entries are added and changed by their
    // columns. A right on columns, unlike one on the whole table, allows no LOCK that keeps
    // the other rooms out; deleting goes through quilloa_remove, one row by its key.
    "GRANT SELECT, INSERT ON \"档案\", \"药品\", \"诊断\", \"地址\" TO %1",
    "GRANT UPDATE (\"名称\", \"拼音\") ON \"药品\", \"诊断\", \"地址\" TO %1",
    "GRANT EXECUTE ON FUNCTION quilloa_remove(text, bigint, citext) TO %1",
    // The single rows are rewritten in place, never added or removed.
    "GRANT SELECT, UPDATE (\"密码\") ON \"密码\" TO %1",
    "GRANT SELECT, UPDATE (\"医生\", \"上边距\", \"左边距\", \"上边距1\", \"左边距1\", "
    "\"配药\", \"名称\") ON \"设置\" TO %1",
    // The stores' version is read at every start; only the owner's upgrades write it.
    "GRANT SELECT ON quilloa_schema TO %1",
    // The search index is kept by its trigger with the owner's rights; rooms only read it.
    "GRANT SELECT ON \"档案_姓名字\" TO %1",
    "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1",
};

// A server that logs every statement (log_statement = all, log_min_duration_statement) logs
// the values bound to it too, unless told not to: those are the patients' names and
// prescriptions. Setting it for the database needs a superuser's right on most servers; the
// length on error is the owner's to set.
const char* const kQuietLog[] = {
    "ALTER DATABASE %2 SET log_parameter_max_length_on_error = 0",
    "ALTER DATABASE %2 SET log_parameter_max_length = 0",
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
    bool quiet = true;
    for (const char* statement : kQuietLog)
        quiet = !grant(db, statement, role) && quiet;
    const QString logNote =
        quiet ? QString()
              : QStringLiteral("\n注意：服务器若记录所有语句（log_statement = all 或 "
                               "log_min_duration_statement），会把各台电脑存取的处方内容写进日志。"
                               "本用户无权替这个数据库关掉它，请让管理员（超级用户）在这个数据库"
                               "上运行一次 ALTER DATABASE 数据库名 SET log_parameter_max_length = "
                               "0。");
    return {true, QStringLiteral("%1 已准备好（数据表%2）。工作站用户“%3”只能查看、新增和逐条删除"
                                 "处方，查看、新增、修改和逐条删除词条，改写密码和设置；不能清空、"
                                 "锁住或删除数据表，也不能改动表的结构。各台电脑用属于“%3”的用户"
                                 "连接。")
                          .arg(server.path(),
                               made.value() ? QStringLiteral("已新建") : QStringLiteral("原已存在"),
                               role) +
                      logNote};
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
