#include "core/store/server/ServerImport.h"

#include "core/store/StoreColumns.h"
#include "core/store/StoreLocation.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerSchema.h"
#include "core/store/server/ServerSearchIndex.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/RowPump.h"
#include "core/store/sql/ScopedConnection.h"
#include "core/store/sql/StoreSql.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quilloa {
namespace {

struct Counted
{
    QString table;
    qint64 rows = 0;
};

// One store file, read in one read transaction so its tables are taken as of one moment.
struct Source
{
    Source(StoreKind storeKind, QString storePath) : kind(storeKind), path(std::move(storePath)) {}

    StoreKind kind;
    QString path;
    ScopedConnection connection{QStringLiteral("QSQLITE"), QStringLiteral("import")};
    QList<TableColumns> tables;
};

ServerImport::Outcome refused(const QString& why)
{
    return {false, QStringLiteral("没有复制：%1").arg(why)};
}

StoreStatus openSource(Source& source)
{
    StoreStatus status = StoreCopy::check(source.path, source.kind);
    if (!status.ok())
        return status;
    QSqlDatabase& db = source.connection.db();
    db.setDatabaseName(source.path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open() || !db.transaction())
        return StoreStatus::failure(db.lastError(), source.path);
    StoreResult<QList<TableColumns>> tables = StoreColumns::of(db, source.kind, source.path);
    if (!tables.ok())
        return tables;
    source.tables = tables.takeValue();
    return StoreStatus::success();
}

class Copier
{
public:
    Copier(const StoreConnection& server, QSqlDatabase& db) : m_server(server), m_db(db) {}

    StoreStatus failure(const QSqlError& error) const
    {
        return ServerConnection::failure(error, m_db, m_server.path());
    }

    StoreResult<bool> holdsProgramTables(const QList<Source*>& sources)
    {
        QSqlQuery query(m_db);
        for (const Source* source : sources) {
            for (const TableColumns& table : source->tables) {
                if (!BoundQuery::exec(query, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"),
                                      {StoreColumns::quoted(table.table)}) ||
                    !query.next())
                    return failure(query.lastError());
                if (query.value(0).toBool())
                    return true;
            }
        }
        return false;
    }

    StoreStatus run(const QStringList& statements)
    {
        QSqlQuery query(m_db);
        for (const QString& statement : statements) {
            if (!query.exec(statement))
                return failure(query.lastError());
        }
        return StoreStatus::success();
    }

    StoreStatus copyTable(Source& source, const TableColumns& table)
    {
        const QString name = StoreColumns::quoted(table.table);
        QSqlQuery rows(source.connection.db());
        rows.setForwardOnly(true);
        if (!rows.exec(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                           .arg(table.quotedList(), name)))
            return StoreStatus::failure(rows.lastError(), source.path);
        QStringList marks{QStringLiteral("?")};
        for (int i = 0; i < table.columns.size(); ++i)
            marks << (i == table.feeColumn ? StoreSql::feeParameter(m_server)
                                           : QStringLiteral("?"));
        RowPump pump(
            m_db,
            QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES ").arg(name, table.quotedList()),
            QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
            int(marks.size()));
        const RowPump::Result pumped = pump.pump(rows);
        if (!pumped.ok)
            return pumped.targetFailed ? failure(pumped.error)
                                       : StoreStatus::failure(pumped.error, source.path);
        // Rows the workstations add later get ids after the copied ones.
        QSqlQuery sequence(m_db);
        if (!BoundQuery::exec(sequence,
                              QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'rowid'), "
                                             "(SELECT coalesce(max(rowid), 0) + 1 FROM %1), false)")
                                  .arg(name),
                              {name}))
            return failure(sequence.lastError());
        return StoreStatus::success();
    }

    StoreStatus makeSearchIndex()
    {
        const QSqlError error = ServerSearchIndex::make(m_db);
        return error.isValid() ? failure(error) : StoreStatus::success();
    }

    StoreResult<qint64> serverCount(const QString& table)
    {
        QSqlQuery query(m_db);
        if (!query.exec(
                QStringLiteral("SELECT count(*) FROM %1").arg(StoreColumns::quoted(table))) ||
            !query.next())
            return failure(query.lastError());
        return query.value(0).toLongLong();
    }

private:
    const StoreConnection& m_server;
    QSqlDatabase& m_db;
};

StoreResult<qint64> fileCount(Source& source, const QString& table)
{
    QSqlQuery query(source.connection.db());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(StoreColumns::quoted(table))) ||
        !query.next())
        return StoreStatus::failure(query.lastError(), source.path);
    return query.value(0).toLongLong();
}

QString mismatch(const QString& table, qint64 inFile, qint64 onServer)
{
    return QStringLiteral("复制后核对条数不一致：“%1”在数据文件中有 %2 条，在服务器上有 %3 条。")
        .arg(table)
        .arg(inFile)
        .arg(onServer);
}

// Everything between BEGIN and COMMIT: empty check, tables, rows, counts.
ServerImport::Outcome copyWithin(Copier& copier, const QList<Source*>& sources,
                                 QList<Counted>& counted)
{
    const StoreResult<bool> held = copier.holdsProgramTables(sources);
    if (!held.ok())
        return refused(held.error());
    if (held.value())
        return refused(QStringLiteral(
            "这个数据库里已经有本程序的数据表。复制只写入新建的空数据库，不会合并或覆盖已有的"
            "数据。请新建一个空数据库（例如 createdb -O 用户名 新库名）后再复制。"));
    StoreStatus status = copier.run(ServerSchema::tableStatements());
    if (!status.ok())
        return refused(status.error());
    for (Source* source : sources) {
        for (const TableColumns& table : source->tables) {
            status = copier.copyTable(*source, table);
            if (!status.ok())
                return refused(
                    QStringLiteral("复制“%1”时出错：%2").arg(table.table, status.error()));
            const StoreResult<qint64> inFile = fileCount(*source, table.table);
            if (!inFile.ok())
                return refused(inFile.error());
            const StoreResult<qint64> onServer = copier.serverCount(table.table);
            if (!onServer.ok())
                return refused(onServer.error());
            if (inFile.value() != onServer.value())
                return refused(mismatch(table.table, inFile.value(), onServer.value()));
            counted << Counted{table.table, inFile.value()};
        }
    }
    // Filled over the copied rows, far sooner than a trigger per row.
    status = copier.makeSearchIndex();
    if (!status.ok())
        return refused(status.error());
    return {true, QString()};
}

ServerImport::Outcome checkAfterCommit(Copier& copier, const QList<Counted>& counted,
                                       const QString& folder, const QString& server)
{
    QString summary = QStringLiteral("已把“%1”中的数据复制到%2，提交后逐表核对了条数：")
                          .arg(QDir::toNativeSeparators(folder), server);
    for (const Counted& table : counted) {
        const StoreResult<qint64> onServer = copier.serverCount(table.table);
        if (!onServer.ok())
            return {false,
                    QStringLiteral("数据已复制，但提交后无法核对：%1").arg(onServer.error())};
        if (onServer.value() != table.rows)
            return {false, mismatch(table.table, table.rows, onServer.value()) +
                               QStringLiteral("请删除这个数据库，新建一个空数据库后重新复制。")};
        summary += QStringLiteral("\n  %1  %2 条").arg(table.table).arg(table.rows);
    }
    summary += QStringLiteral("\n以后启动程序时用 --store 加上同一个服务器地址，或把它写进数据"
                              "文件夹中的 store.conf，各台电脑就共用服务器上的这份数据。");
    return {true, summary};
}

} // namespace

ServerImport::Outcome ServerImport::copy(const StorePaths& paths, const StoreConnection& server)
{
    Source settings{StoreKind::Settings, paths.settingsFile};
    Source archive{StoreKind::Archive, paths.archiveFile};
    const QList<Source*> sources{&settings, &archive};
    for (Source* source : sources) {
        const StoreStatus opened = openSource(*source);
        if (!opened.ok())
            return refused(opened.error());
    }
    ScopedConnection connection(new ServerDriver, QStringLiteral("import"));
    QSqlDatabase& db = connection.db();
    const StoreStatus opened = ServerConnection::open(db, server.location());
    if (!opened.ok())
        return refused(opened.error());
    // Checked before anything is written: every workstation would refuse such a database.
    const StoreStatus encoding = ServerSchema::checkEncoding(server, db);
    if (!encoding.ok())
        return refused(encoding.error());
    Copier copier(server, db);
    if (!db.transaction())
        return refused(copier.failure(db.lastError()).error());
    QList<Counted> counted;
    Outcome outcome = copyWithin(copier, sources, counted);
    if (!outcome.ok) {
        db.rollback();
        outcome.message += QStringLiteral("\n服务器上的数据库没有改动。");
        return outcome;
    }
    if (!db.commit())
        return refused(copier.failure(db.lastError()).error() +
                       QStringLiteral("\n服务器上的数据库没有改动。"));
    return checkAfterCommit(copier, counted, paths.dataFolder, server.path());
}

ServerImport::Outcome ServerImport::copy(const QString& programFolder, const QString& serverText)
{
    const StoreResult<StoreLocation> location = StoreLocation::server(serverText);
    if (!location.ok())
        return refused(location.error());
    const Outcome outcome = copy(StorePaths(programFolder), StoreConnection(location.value()));
    StoreConnection::closeAll();
    return outcome;
}

} // namespace quilloa
