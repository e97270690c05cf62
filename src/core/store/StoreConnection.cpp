#include "core/store/StoreConnection.h"

#include "core/store/LockWait.h"
#include "core/store/SchemaVersion.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/PreparedStatements.h"
#include "core/store/file/StoreDamage.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/server/ServerConnection.h"
#include "core/store/server/ServerDriver.h"
#include "core/store/server/ServerWait.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

#include <chrono>
#include <sys/stat.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quilloa {
namespace {

const QString kConnectionPrefix = QStringLiteral("quilloa-store:");
const QString kServerConnectionPrefix = kConnectionPrefix + QStringLiteral("server:");

// Right after a store was found busy, every further operation of the same user action (a new sheet
// reads the clinic name, the doctor, the dispenser...) waits only briefly, so the action is told at
// once instead of freezing for a second per read.
constexpr int kBusyAgainMilliseconds = 100;
constexpr std::chrono::milliseconds kBusyRemembered(3000);

QHash<QString, std::chrono::steady_clock::time_point>& busySince()
{
    static QHash<QString, std::chrono::steady_clock::time_point> found;
    return found;
}

int busyTimeoutFor(const QString& path)
{
    if (busySince().isEmpty())
        return kLockWaitMilliseconds;
    const auto found = busySince().constFind(path);
    if (found == busySince().cend())
        return kLockWaitMilliseconds;
    if (std::chrono::steady_clock::now() - *found < kBusyRemembered)
        return kBusyAgainMilliseconds;
    busySince().remove(path);
    return kLockWaitMilliseconds;
}

void setBusyTimeout(const QSqlDatabase& db, int milliseconds)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    if (sqlite3* raw = *static_cast<sqlite3* const*>(handle.constData()))
        sqlite3_busy_timeout(raw, milliseconds);
}

// Which file a held connection was opened on. A file put in place of the old one (a restored
// backup, a copy from another computer) has another inode even when its size and time agree.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool stale = false; // an operation failed: open afresh at the next one
    int busyTimeout = kLockWaitMilliseconds;

    bool sameFile(const struct stat& now) const
    {
        return now.st_dev == device && now.st_ino == inode;
    }
};

QHash<QString, FileIdentity>& identities()
{
    static QHash<QString, FileIdentity> held;
    return held;
}

StoreStatus holdsTables(QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return StoreStatus::failure(query.lastError(), path);
    if (query.value(0).toLongLong() > 0)
        return StoreStatus::success();
    return StoreStatus::failure(StoreFault::Damaged, path, QStringLiteral("empty"));
}

StoreStatus openConnection(QSqlDatabase& db, const QString& path)
{
    // mode=rw: never create a file that is not there.
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutFor(path)));
    if (!db.open())
        return StoreStatus::failure(db.lastError(), path);
    // The engine takes a file without a byte, or without a table, for a new database and would
    // build its indexes into it: such a file is named, never quietly made into an empty store.
    const StoreStatus tables = holdsTables(db, path);
    if (!tables.ok()) {
        db.close();
        return tables;
    }
    // A newer program's store is refused before anything is written to it, even its journal
    // mode.
    const StoreStatus known = SchemaVersion::checkFile(db, path);
    if (!known.ok()) {
        db.close();
        return known;
    }
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Verifies the file really is a store before anyone relies on it.
    if (!pragma.exec(QStringLiteral("PRAGMA schema_version"))) {
        const StoreStatus failed = StoreStatus::failure(pragma.lastError(), path);
        pragma = QSqlQuery();
        db.close();
        return failed;
    }
    // A statement still open on the connection would keep the name index from being dropped
    // and filled afresh.
    pragma.finish();
    StoreSchema::ensureIndexes(db);
    const StoreStatus upgraded = SchemaVersion::upgradeFile(db, path);
    if (!upgraded.ok()) {
        pragma = QSqlQuery();
        db.close();
        return upgraded;
    }
    NameIndex::ensure(db);
    return StoreStatus::success();
}

// A read of a whole list fills buffers of a megabyte or so and frees them when the list is
// dropped. Left to itself the C library hands memory of that size back to the system at once,
// or maps it afresh for each list, depending on what the process freed before; then every read
// pays again for the system clearing its pages, which can cost more than the read itself. The
// program's heap is small: it keeps what it freed, a few megabytes at most, for the next read.
void keepFreedMemory()
{
#ifdef __GLIBC__
    static const bool kept = [] {
        constexpr int kMapAbove = 4 * 1024 * 1024;
        constexpr int kKeepUpTo = 8 * 1024 * 1024;
        return mallopt(M_MMAP_THRESHOLD, kMapAbove) == 1 &&
               mallopt(M_TRIM_THRESHOLD, kKeepUpTo) == 1;
    }();
    Q_UNUSED(kept);
#endif
}

void dropConnection(const QString& name)
{
    PreparedStatements::forget(name);
    // A connection opened later may get the same handle and count from the start again.
    NameIndex::forget(name);
    identities().remove(name);
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

StoreConnection::StoreConnection(QString path)
    : m_path(std::move(path)), m_connectionName(connectionNameOf(m_path)),
      m_nativePath(QFile::encodeName(m_path))
{
}

StoreConnection::StoreConnection(const StoreLocation& server)
    : m_location(server), m_path(server.description()),
      m_connectionName(kServerConnectionPrefix + server.connectOptions())
{
}

QString StoreConnection::connectionNameOf(const QString& path)
{
    return kConnectionPrefix + QFileInfo(path).absoluteFilePath();
}

// One stat per operation: cheap next to any query, and it is what lets a replaced or mended
// file be seen without a restart.
StoreResult<QSqlDatabase> StoreConnection::database() const
{
    if (isServer())
        return serverDatabase();
    struct stat now
    {
    };
    if (::stat(m_nativePath.constData(), &now) != 0) {
        if (!PreparedStatements::inUse(m_connectionName))
            dropConnection(m_connectionName);
        return StoreStatus::failure(StoreFault::Missing, m_path);
    }
    {
        // An unknown name gives a handle that is not open: one look-up serves the common case.
        const QSqlDatabase held = QSqlDatabase::database(m_connectionName, false);
        const auto identity = identities().constFind(m_connectionName);
        const bool current =
            identity != identities().cend() && !identity->stale && identity->sameFile(now);
        // A read still walking its rows keeps the connection it started on.
        if (held.isOpen() && (current || PreparedStatements::inUse(m_connectionName))) {
            const int wait = busyTimeoutFor(m_path);
            if (identity != identities().cend() && identity->busyTimeout != wait) {
                setBusyTimeout(held, wait);
                identities()[m_connectionName].busyTimeout = wait;
            }
            return held;
        }
    }
    const int wait = busyTimeoutFor(m_path);
    StoreResult<QSqlDatabase> opened = reopen();
    if (opened.ok())
        identities().insert(m_connectionName, FileIdentity{now.st_dev, now.st_ino, false, wait});
    else if (opened.fault() == StoreFault::Busy)
        noteBusy(m_path);
    else if (opened.fault() == StoreFault::Damaged)
        StoreDamage::note(m_path);
    return opened;
}

// A server connection is kept until an operation on it fails: a lost connection (a restarted
// server, a network that went away) then costs one failed operation, and the next one
// connects again.
StoreResult<QSqlDatabase> StoreConnection::serverDatabase() const
{
    // Asked for from inside another call's wait: that call's connection is left alone.
    if (ServerWait::inHook())
        return StoreStatus::failure(
            QStringLiteral("程序正在等待数据库服务器回答上一个操作，请稍后再试。"));
    {
        const QSqlDatabase held = QSqlDatabase::database(m_connectionName, false);
        const auto identity = identities().constFind(m_connectionName);
        const bool current = identity != identities().cend() && !identity->stale;
        if (held.isOpen() && (current || PreparedStatements::inUse(m_connectionName)))
            return held;
    }
    StoreResult<QSqlDatabase> opened = reopen();
    if (opened.ok())
        identities().insert(m_connectionName, FileIdentity{});
    return opened;
}

QString StoreConnection::description() const
{
    if (isServer())
        return m_path;
    return QStringLiteral("本机文件 %1").arg(QFileInfo(m_path).absolutePath());
}

void StoreConnection::noteBusy(const QString& path)
{
    busySince().insert(path, std::chrono::steady_clock::now());
}

StoreStatus StoreConnection::failure(const QSqlError& error) const
{
    if (!isServer()) {
        const StoreStatus status = StoreStatus::failure(error, m_path);
        if (status.fault() == StoreFault::Busy)
            noteBusy(m_path);
        if (status.fault() == StoreFault::Damaged)
            StoreDamage::note(m_path);
        if (status.fault() != StoreFault::TooLong)
            operationFailed();
        return status;
    }
    const QSqlDatabase held = QSqlDatabase::database(m_connectionName, false);
    const StoreStatus status = ServerConnection::failure(error, held, m_path);
    if (status.fault() != StoreFault::TooLong)
        operationFailed();
    return status;
}

// A connection held but no longer open, or on another file, is dropped and opened afresh.
StoreResult<QSqlDatabase> StoreConnection::reopen() const
{
    keepFreedMemory();
    const QString& name = m_connectionName;
    dropConnection(name);
    QSqlDatabase db = isServer() ? QSqlDatabase::addDatabase(new ServerDriver, name)
                                 : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    StoreStatus opened =
        isServer() ? ServerConnection::open(db, m_location) : openConnection(db, m_path);
    if (opened.ok() && isServer())
        opened = ServerConnection::limitStatements(db, m_location.description());
    if (!opened.ok()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return opened;
    }
    return db;
}

void StoreConnection::operationFailed() const
{
    const auto identity = identities().find(m_connectionName);
    if (identity != identities().end())
        identity->stale = true;
}

void StoreConnection::close(const QString& path)
{
    dropConnection(connectionNameOf(path));
}

void StoreConnection::closeAll()
{
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (name.startsWith(kConnectionPrefix))
            dropConnection(name);
    }
}

} // namespace quilloa
