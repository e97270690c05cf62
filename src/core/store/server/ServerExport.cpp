#include "core/store/server/ServerExport.h"

#include "core/store/SchemaVersion.h"
#include "core/store/StoreColumns.h"
#include "core/store/file/FileRowWriter.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/CopyStream.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/ScopedConnection.h"
#include "core/store/sql/StoreSql.h"

#include <QDate>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

#include <fcntl.h>
#include <future>
#include <optional>
#include <unistd.h>

namespace quilloa {
namespace {

// The indexes' entries are sorted in runs of the cache's size and merged from temporary files:
// small runs sort within the processor's own caches, faster than one large run (measured at a
// million records), and the program stays small while it exports.
constexpr int kCacheKiB = 4 * 1024;
constexpr int kPageBytes = 16384;
// The runs are sorted beside the reading of the rows.
constexpr int kSortThreads = 2;

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

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// The server's rows of one table as a binary copy, oldest first: the row id and the fee (in
// ten-thousandths, as the file keeps it) as whole numbers, everything else as plain text. Rows
// keep their server row ids, so their order in the file is the order they were added.
QByteArray copyOf(const StoreConnection& server, const TableColumns& table)
{
    QStringList columns{QStringLiteral("CAST(rowid AS bigint)")};
    for (int i = 0; i < table.columns.size(); ++i)
        columns << (i == table.feeColumn ? StoreSql::fee(server)
                                         : QStringLiteral("CAST(%1 AS text)")
                                               .arg(StoreColumns::quoted(table.columns[i])));
    return QStringLiteral("COPY (SELECT %1 FROM %2 ORDER BY rowid) TO STDOUT (FORMAT binary)")
        .arg(columns.join(QStringLiteral(", ")), StoreColumns::quoted(table.table))
        .toUtf8();
}

QList<FileRowWriter::Kind> kindsOf(const TableColumns& table)
{
    QList<FileRowWriter::Kind> kinds{FileRowWriter::Kind::Integer};
    for (int i = 0; i < table.columns.size(); ++i)
        kinds << (i == table.feeColumn ? FileRowWriter::Kind::Integer : FileRowWriter::Kind::Text);
    return kinds;
}

StoreStatus copyTable(const StoreConnection& server, ServerDriver& driver, QSqlDatabase& from,
                      QSqlDatabase& file, const TableColumns& table, const QString& target)
{
    const QList<FileRowWriter::Kind> kinds = kindsOf(table);
    FileRowWriter writer(handleOf(file), table.table,
                         QStringList{QStringLiteral("rowid")} + table.columns, kinds);
    CopyStream rows(int(kinds.size()),
                    [&writer](std::span<const CopyStream::Field> row) { return writer.add(row); });
    QSqlError error;
    const std::optional<qint64> sent = driver.copyOut(
        copyOf(server, table), [&rows](QByteArrayView piece) { return rows.feed(piece); }, &error);
    if (writer.error().isValid())
        return StoreStatus::failure(writer.error(), target);
    if (rows.isBroken() || (sent && !rows.isComplete()))
        return StoreStatus::failure(StoreFault::Failed, target,
                                    QStringLiteral("%1: the copy was not whole").arg(table.table));
    if (!sent)
        return serverFailure(server, from, error);
    // Within one snapshot the two counts can only differ if rows went missing on the way.
    if (*sent != writer.rows())
        return StoreStatus::failure(StoreFault::Failed, target,
                                    QStringLiteral("%1: %2 rows of %3 written")
                                        .arg(table.table)
                                        .arg(writer.rows())
                                        .arg(*sent));
    return StoreStatus::success();
}

// The indexes and triggers of the copied tables are set aside while their rows go in and made
// afresh afterwards from their own statements: an index built once from all the rows costs a
// fraction of one kept up row by row. The file ends up holding what it would have, with its
// name index left to be filled once it is opened as a store (see NameIndex::leaveToBuild).
StoreResult<QStringList> setAside(QSqlDatabase& file, const QList<TableColumns>& tables,
                                  const QString& target)
{
    QStringList remade;
    QStringList dropped;
    QSqlQuery objects(file);
    for (const TableColumns& table : tables) {
        if (!BoundQuery::exec(objects,
                              QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE "
                                             "tbl_name = ? AND type IN ('index', 'trigger') AND "
                                             "sql IS NOT NULL ORDER BY rowid"),
                              {table.table}))
            return StoreStatus::failure(objects.lastError(), target);
        while (objects.next()) {
            dropped << QStringLiteral("DROP %1 %2")
                           .arg(objects.value(0).toString().toUpper(),
                                StoreColumns::quoted(objects.value(1).toString()));
            remade << objects.value(2).toString();
        }
    }
    for (const QString& statement : dropped) {
        if (!objects.exec(statement))
            return StoreStatus::failure(objects.lastError(), target);
    }
    return remade;
}

StoreStatus putBack(QSqlDatabase& file, StoreKind kind, const QStringList& statements,
                    const QString& target)
{
    if (kind == StoreKind::Archive) {
        const QSqlError left = NameIndex::leaveToBuild(file);
        if (left.isValid())
            return StoreStatus::failure(left, target);
    }
    QSqlQuery query(file);
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return StoreStatus::failure(query.lastError(), target);
    }
    return StoreStatus::success();
}

// The rows of every table of the file, with its indexes and triggers set aside; the
// statements that make those afresh.
StoreResult<QStringList> copyTables(const StoreConnection& server, ServerDriver& driver,
                                    QSqlDatabase& from, QSqlDatabase& file, StoreKind kind,
                                    const QString& target)
{
    StoreResult<QList<TableColumns>> tables = StoreColumns::of(file, kind, target);
    if (!tables.ok())
        return StoreStatus(tables);
    StoreResult<QStringList> aside = setAside(file, tables.value(), target);
    if (!aside.ok())
        return aside;
    for (const TableColumns& table : tables.value()) {
        // The new file's own password and settings rows make way for the server's.
        QSqlQuery clear(file);
        if (!clear.exec(QStringLiteral("DELETE FROM %1").arg(StoreColumns::quoted(table.table))))
            return StoreStatus::failure(clear.lastError(), target);
        const StoreStatus copied = copyTable(server, driver, from, file, table, target);
        if (!copied.ok())
            return copied;
    }
    return aside;
}

// Writes what the file holds so far to the disk beside the work that follows (the rows, while
// their indexes are made), so the flush before the file is put in place waits only for the
// rest. Done when the result is dropped; where no thread can be had, the flush is left to the
// end.
std::future<void> flushBeside(const QString& path)
{
    return std::async(std::launch::async | std::launch::deferred, [name = QFile::encodeName(path)] {
        const int handle = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (handle >= 0) {
            ::fsync(handle);
            ::close(handle);
        }
    });
}

StoreStatus fillFile(const StoreConnection& server, ServerDriver& driver, QSqlDatabase& from,
                     StoreKind kind, const QString& temporary, const QString& target)
{
    ScopedConnection connection(QStringLiteral("QSQLITE"), QStringLiteral("export"));
    QSqlDatabase& file = connection.db();
    file.setDatabaseName(temporary);
    if (!file.open())
        return StoreStatus::failure(file.lastError(), target);
    {
        // The file is checked and flushed as a whole before it is used, and thrown away when
        // anything fails, so it needs no journal of its own while it is written. Pages four
        // times the usual size take a quarter of the reads and writes to fill the file and
        // make its indexes; the engine reads a store of any page size alike.
        QSqlQuery setup(file);
        setup.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        setup.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        setup.exec(QStringLiteral("PRAGMA page_size=%1").arg(kPageBytes));
        setup.exec(QStringLiteral("VACUUM"));
        setup.exec(QStringLiteral("PRAGMA cache_size=-%1").arg(kCacheKiB));
        setup.exec(QStringLiteral("PRAGMA threads=%1").arg(kSortThreads));
        // The server held every row to the same limits when it took it; checking them again
        // for each row costs a fifth of the copying, and the copy is to hold what the server
        // holds either way.
        setup.exec(QStringLiteral("PRAGMA ignore_check_constraints=ON"));
    }
    file.transaction();
    StoreResult<QStringList> remade = copyTables(server, driver, from, file, kind, target);
    StoreStatus status = remade;
    if (status.ok()) {
        const std::future<void> flushing = flushBeside(temporary);
        status = putBack(file, kind, remade.value(), target);
        if (status.ok() && !file.commit())
            status = StoreStatus::failure(file.lastError(), target);
    }
    if (!status.ok())
        file.rollback();
    return status;
}

StoreStatus writeTemporary(const StoreConnection& server, ServerDriver& driver, QSqlDatabase& from,
                           StoreKind kind, const QString& temporary, const QString& target)
{
    StoreStatus status = createEmpty(kind, temporary);
    if (!status.ok())
        return StoreStatus::failure(status.fault(), target, status.detail());
    status = fillFile(server, driver, from, kind, temporary, target);
    // What makes the copy exact is counted inside the snapshot, table by table. The engine has
    // just written the file in one transaction, and a quick check of every page would read it
    // back from the system's cache, not from the disk, so it would prove little for seconds of
    // a million records' work; the file is given the check every start gives a store (the full
    // quick check for one as small as the settings), and the backup list and the restore
    // check each copy as a whole before they use it.
    if (status.ok())
        status = StoreCopy::probe(temporary, kind);
    return status;
}

StoreStatus writeAll(const StoreConnection& server, ServerDriver& driver, QSqlDatabase& from,
                     const QList<ServerExport::Target>& targets, const QStringList& temporaries)
{
    QSqlQuery snapshot(from);
    // Every table of both files is read as of one moment, and nothing is written meanwhile.
    if (!snapshot.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        return serverFailure(server, from, snapshot.lastError());
    // The files are stamped with this program's version: a newer program's data would be
    // misread as that.
    const StoreResult<int> version = SchemaVersion::ofServer(from, server.path());
    StoreStatus status =
        version.ok() ? SchemaVersion::known(version.value(), server.path()) : StoreStatus(version);
    for (int i = 0; i < targets.size() && status.ok(); ++i)
        status =
            writeTemporary(server, driver, from, targets[i].kind, temporaries[i], targets[i].path);
    // A connection dropped for silence has ended the snapshot with it.
    if (from.isOpen())
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
        auto* driver = new ServerDriver;
        ScopedConnection connection(driver, QStringLiteral("snapshot"));
        status = ServerConnection::open(connection.db(), server.location());
        if (status.ok())
            status = lockDay(server, connection.db(), day);
        if (status.ok())
            status = writeAll(server, *driver, connection.db(), targets, temporaries);
        // Still under the day's lock, so a second export cannot interleave its files.
        for (int i = 0; i < targets.size() && status.ok(); ++i)
            status = StoreCopy::install(temporaries[i], targets[i].path);
    }
    for (const QString& temporary : temporaries)
        StoreCopy::removeTemporary(temporary);
    return status;
}

} // namespace quilloa
