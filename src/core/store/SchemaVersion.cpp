#include "core/store/SchemaVersion.h"

#include "core/store/NameIndex.h"
#include "core/store/ServerConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <iterator>

namespace quilloa {
namespace {

// One change to what the stores hold. Either engine's part may be empty: a server keeps its
// own indexes where a store file needs a table of its own.
struct Step
{
    int version;
    QSqlError (*file)(QSqlDatabase& db); // inside the step's transaction; invalid on success
    const char* const* server;           // statements, ending with nullptr; or nullptr
};

// The character index of patient names, with its triggers. A server answers the same searches
// from its own indexes, made with its tables.
constexpr Step kSteps[] = {
    {1, &NameIndex::create, nullptr},
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
        if (step.version <= version.value())
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
    QStringList statements;
    for (const Step& step : kSteps) {
        for (const char* const* s = step.server; step.version > version.value() && s && *s; ++s)
            statements << QString::fromUtf8(*s);
    }
    if (version.value() == 0)
        statements << serverTableStatements();
    else
        statements << QStringLiteral("UPDATE %1 SET version = %2").arg(kServerTable).arg(kCurrent);
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return server.failure(query.lastError());
    }
    return StoreStatus::success();
}

} // namespace quilloa
