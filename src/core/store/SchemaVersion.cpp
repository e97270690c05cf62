#include "core/store/SchemaVersion.h"

#include "core/store/file/NameIndex.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerGuards.h"
#include "core/store/server/ServerSearchIndex.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <iterator>

namespace quilloa {
namespace {

// One change to what the stores hold. Either engine's part may be empty.
struct Step
{
    int version;
    QSqlError (*file)(QSqlDatabase& db);   // inside the step's transaction; invalid on success
    QSqlError (*server)(QSqlDatabase& db); // run by the schema's owner, the same way; or nullptr
};

// 1: the character index of patient names in store files, with its triggers.
// 2: the server's own search indexes. They make their objects afresh, so a database that lost
//    its version row but kept them is brought up all the same.
// 3: the server's delete function and one-entry triggers, which let rooms do without rights
//    that could empty or lock a table (ServerGuards).
constexpr Step kSteps[] = {
    {1, &NameIndex::create, nullptr},
    {2, nullptr, &ServerSearchIndex::make},
    {3, nullptr, &ServerGuards::make},
};

static_assert(kSteps[std::size(kSteps) - 1].version == SchemaVersion::kCurrent,
              "the last step reaches the current version");

const QString kServerTable = QStringLiteral("quilloa_schema");

QSqlError runFileStep(QSqlDatabase& db, const Step& step)
{
    if (step.file) {
        const QSqlError error = step.file(db);
        if (error.isValid())
            return error;
    }
    QSqlQuery stamp(db);
    if (!stamp.exec(QStringLiteral("PRAGMA user_version = %1").arg(step.version)))
        return stamp.lastError();
    return QSqlError();
}

// Only the owner of the tables may change them. A workstation role (see ServerPreparation)
// meeting a database an older program made is told who can bring it up, before anything fails
// half way.
StoreStatus mayUpgrade(const StoreConnection& server, QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT pg_has_role(relowner, 'USAGE') FROM pg_class WHERE "
                                   "oid = to_regclass('\"档案\"')")) ||
        !query.next())
        return server.failure(query.lastError());
    if (query.value(0).toBool())
        return StoreStatus::success();
    return StoreStatus::failure(
        QStringLiteral("%1 的数据表是旧版本的程序建立的，要先由数据表的所有者升级，工作站的用户"
                       "不能升级它。请让管理员用所有者的连接运行一次 quilloa --prepare-server "
                       "服务器地址 --workstation-role 工作站用户，然后重新启动程序。")
            .arg(server.path()));
}

} // namespace

StoreResult<int> SchemaVersion::ofFile(QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return StoreStatus::failure(query.lastError(), path);
    return query.value(0).toInt();
}

StoreStatus SchemaVersion::known(int version, const QString& path)
{
    if (version <= kCurrent)
        return StoreStatus::success();
    return StoreStatus::failure(StoreFault::TooNew, path, QString::number(version));
}

StoreStatus SchemaVersion::checkFile(QSqlDatabase& db, const QString& path)
{
    const StoreResult<int> version = ofFile(db, path);
    return version.ok() ? known(version.value(), path) : StoreStatus(version);
}

StoreStatus SchemaVersion::upgradeFile(QSqlDatabase& db, const QString& path)
{
    const StoreResult<int> version = ofFile(db, path);
    if (!version.ok())
        return version;
    const StoreStatus refused = known(version.value(), path);
    if (!refused.ok())
        return refused;
    for (const Step& step : kSteps) {
        if (step.version <= version.value() || !step.file)
            continue;
        if (!db.transaction())
            return StoreStatus::failure(db.lastError(), path);
        QSqlError error = runFileStep(db, step);
        if (!error.isValid() && !db.commit())
            error = db.lastError();
        if (error.isValid()) {
            db.rollback();
            return StoreStatus::failure(error, path);
        }
    }
    return StoreStatus::success();
}

QStringList SchemaVersion::serverTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE %1 (version integer NOT NULL)").arg(kServerTable),
        QStringLiteral("CREATE UNIQUE INDEX %1_one_row ON %1 ((true))").arg(kServerTable),
        QStringLiteral("INSERT INTO %1 (version) VALUES (%2)").arg(kServerTable).arg(kCurrent),
    };
}

StoreResult<int> SchemaVersion::ofServer(const StoreConnection& server, QSqlDatabase& db)
{
    const StoreResult<int> version = ofServer(db, server.path());
    if (!version.ok())
        server.operationFailed();
    return version;
}

StoreResult<int> SchemaVersion::ofServer(QSqlDatabase& db, const QString& description)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(kServerTable)) ||
        !query.next())
        return ServerConnection::failure(query.lastError(), db, description);
    if (!query.value(0).toBool())
        return 0;
    if (!query.exec(QStringLiteral("SELECT coalesce(max(version), 0) FROM %1").arg(kServerTable)) ||
        !query.next())
        return ServerConnection::failure(query.lastError(), db, description);
    return query.value(0).toInt();
}

StoreStatus SchemaVersion::upgradeServer(const StoreConnection& server, QSqlDatabase& db)
{
    const StoreResult<int> version = ofServer(server, db);
    if (!version.ok())
        return version;
    const StoreStatus refused = known(version.value(), server.path());
    if (!refused.ok() || version.value() == kCurrent)
        return refused;
    const StoreStatus allowed = mayUpgrade(server, db);
    if (!allowed.ok())
        return allowed;
    for (const Step& step : kSteps) {
        if (step.version <= version.value() || !step.server)
            continue;
        const QSqlError error = step.server(db);
        if (error.isValid())
            return server.failure(error);
    }
    const QStringList statements =
        version.value() == 0
            ? serverTableStatements()
            : QStringList{
                  QStringLiteral("UPDATE %1 SET version = %2").arg(kServerTable).arg(kCurrent)};
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return server.failure(query.lastError());
    }
    return StoreStatus::success();
}

} // namespace quilloa
