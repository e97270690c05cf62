#include "core/store/ServerExport.h"

#include "core/store/RowPump.h"
#include "core/store/SchemaVersion.h"
#include "core/store/ScopedConnection.h"
#include "core/store/ServerConnection.h"
#include "core/store/ServerDriver.h"
#include "core/store/StoreColumns.h"
#include "core/store/StoreSchema.h"
#include "core/store/StoreSql.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace quilloa {
namespace {

StoreStatus serverFailure(const StoreConnection& server, QSqlDatabase& db, const QSqlError& error)
{
    return ServerConnection::failure(error, db, server.path());
}

QString temporaryBeside(const QString& target)
{
    return target + QLatin1Char('.') + QUuid::createUuid().toString(QUuid::Id128).left(8) +
           QStringLiteral(".part");
}

StoreStatus createEmpty(StoreKind kind, const QString& path)
{
    return kind == StoreKind::Archive ? StoreSchema::createArchiveStore(path)
                                      : StoreSchema::createSettingsStore(path, false);
}

// The server's rows of one table, oldest first, the fee read as ten-thousandths as the file
// keeps it.
QString selectOf(const StoreConnection& server, const TableColumns& table)
{
    QStringList columns{QStringLiteral("rowid")};
    for (int i = 0; i < table.columns.size(); ++i)
        columns << (i == table.feeColumn ? StoreSql::fee(server)
                                         : StoreColumns::quoted(table.columns[i]));
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
        .arg(columns.join(QStringLiteral(", ")), StoreColumns::quoted(table.table));
}

// Rows keep their server row ids, so their order in the file is the order they were added.
RowPump pumpInto(QSqlDatabase& file, const TableColumns& table)
{
    QStringList marks(table.columns.size() + 1, QStringLiteral("?"));
    return RowPump(file,
                   QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES ")
                       .arg(StoreColumns::quoted(table.table), table.quotedList()),
                   QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                   int(marks.size()));
}

StoreStatus copyTable(const StoreConnection& server, QSqlDatabase& from, QSqlDatabase& file,
                      const TableColumns& table, const QString& target)
{
    QSqlQuery count(from);
    if (!count.exec(
            QStringLiteral("SELECT count(*) FROM %1").arg(StoreColumns::quoted(table.table))) ||
        !count.next())
        return serverFailure(server, from, count.lastError());
    const qint64 expected = count.value(0).toLongLong();
    QSqlQuery rows(from);
    rows.setForwardOnly(true);
    if (!rows.exec(selectOf(server, table)))
        return serverFailure(server, from, rows.lastError());
    const RowPump::Result pumped = pumpInto(file, table).pump(rows);
    if (!pumped.ok && pumped.targetFailed)
        return StoreStatus::failure(pumped.error, target);
    if (!pumped.ok)
        return serverFailure(server, from, pumped.error);
    // Within one snapshot the two counts can only differ if rows went missing on the way.
    if (pumped.rows != expected)
        return StoreStatus::failure(StoreFault::Failed, target,
                                    QStringLiteral("%1: %2 rows of %3 written")
                                        .arg(table.table)
                                        .arg(pumped.rows)
                                        .arg(expected));
    return StoreStatus::success();
}

StoreStatus fillFile(const StoreConnection& server, QSqlDatabase& from, StoreKind kind,
                     const QString& temporary, const QString& target)
{
    ScopedConnection connection(QStringLiteral("QSQLITE"), QStringLiteral("export"));
    QSqlDatabase& file = connection.db();
    file.setDatabaseName(temporary);
    if (!file.open())
        return StoreStatus::failure(file.lastError(), target);
    StoreResult<QList<TableColumns>> tables = StoreColumns::of(file, kind, target);
    if (!tables.ok())
        return tables;
    {
        // The file is checked and flushed as a whole before it is used, and thrown away when
        // anything fails, so it needs no journal of its own while it is written.
        QSqlQuery setup(file);
        setup.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        setup.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }
    file.transaction();
    StoreStatus status = StoreStatus::success();
    for (const TableColumns& table : tables.value()) {
        // The new file's own password and settings rows make way for the server's.
        QSqlQuery clear(file);
        if (!clear.exec(QStringLiteral("DELETE FROM %1").arg(StoreColumns::quoted(table.table))))
            status = StoreStatus::failure(clear.lastError(), target);
        if (status.ok())
            status = copyTable(server, from, file, table, target);
        if (!status.ok())
            break;
    }
    if (status.ok() && !file.commit())
        status = StoreStatus::failure(file.lastError(), target);
    if (!status.ok())
        file.rollback();
    return status;
}

StoreStatus writeTemporary(const StoreConnection& server, QSqlDatabase& from, StoreKind kind,
                           const QString& temporary, const QString& target)
{
    StoreStatus status = createEmpty(kind, temporary);
    if (!status.ok())
        return StoreStatus::failure(status.fault(), target, status.detail());
    status = fillFile(server, from, kind, temporary, target);
    if (status.ok())
        status = StoreCopy::check(temporary, kind);
    return status;
}

StoreStatus writeAll(const StoreConnection& server, QSqlDatabase& from,
                     const QList<ServerExport::Target>& targets, const QStringList& temporaries)
{
    QSqlQuery snapshot(from);
    // Every table of both files is read as of one moment, and nothing is written meanwhile.
    if (!snapshot.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        return serverFailure(server, from, snapshot.lastError());
    // The files are stamped with this program's version: a newer program's data would be
    // misread as that.
    const StoreResult<int> version = SchemaVersion::ofServer(server, from);
    StoreStatus status =
        version.ok() ? SchemaVersion::known(version.value(), server.path()) : StoreStatus(version);
    for (int i = 0; i < targets.size() && status.ok(); ++i)
        status = writeTemporary(server, from, targets[i].kind, temporaries[i], targets[i].path);
    snapshot.exec(QStringLiteral("ROLLBACK"));
    return status;
}

// Any number of our own, paired with the day, for the lock that keeps exports of one day apart.
constexpr int kExportLock = 0x51756c6c;

// Held by the export's session until its connection closes, so a program that dies midway
// frees it too.
StoreStatus lockDay(const StoreConnection& server, QSqlDatabase& from, const QDate& day)
{
    if (!day.isValid())
        return StoreStatus::success();
    QSqlQuery lock(from);
    if (!lock.exec(QStringLiteral("SELECT pg_try_advisory_lock(%1, %2)")
                       .arg(kExportLock)
                       .arg(day.toJulianDay())) ||
        !lock.next())
        return serverFailure(server, from, lock.lastError());
    if (lock.value(0).toBool())
        return StoreStatus::success();
    return StoreStatus::failure(
        QStringLiteral("另一台电脑（或这台电脑上另一次启动的本程序）正在备份%1这一天的数据，"
                       "这次不再重复备份。")
            .arg(day.toString(QStringLiteral("yyyy-MM-dd"))));
}

} // namespace

StoreStatus ServerExport::write(const StoreConnection& server, const QList<Target>& targets,
                                const QDate& day)
{
    QStringList temporaries;
    for (const Target& target : targets)
        temporaries << temporaryBeside(target.path);
    StoreStatus status = StoreStatus::success();
    {
        ScopedConnection connection(new ServerDriver, QStringLiteral("snapshot"));
        status = ServerConnection::open(connection.db(), server.location());
        if (status.ok())
            status = lockDay(server, connection.db(), day);
        if (status.ok())
            status = writeAll(server, connection.db(), targets, temporaries);
        // Still under the day's lock, so a second export cannot interleave its files.
        for (int i = 0; i < targets.size() && status.ok(); ++i)
            status = StoreCopy::install(temporaries[i], targets[i].path);
    }
    for (const QString& temporary : temporaries)
        StoreCopy::removeTemporary(temporary);
    return status;
}

} // namespace quilloa
