#include "core/store/file/StoreCopy.h"

#include "core/files/PrivateFiles.h"
#include "core/files/SiblingTempFile.h"
#include "core/store/LockWait.h"
#include "core/store/SchemaVersion.h"
#include "core/store/StoreMessage.h"
#include "core/store/SystemFault.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace quilloa {
namespace {

// A temporary copy not written to for this long belongs to a copy that was killed.
constexpr qint64 kStaleSeconds = 10 * 60;
constexpr size_t kCopyChunk = size_t(1) << 20;
// Stores up to this size get the full quick check at every start (a settings store of 20,000
// drugs is about 3 MB and checks in a few milliseconds); a larger archive would hold the start
// for seconds.
constexpr qint64 kQuickCheckedBytes = qint64(16) << 20;

struct Closer
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

struct Finalizer
{
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

StoreStatus failureOf(sqlite3* db, int code, const QString& path)
{
    const QString detail =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    StoreFault fault = StoreMessage::faultOfCode(extended, detail);
    // The engine folds a full disk and a file without rights into "cannot open" or an I/O
    // error; the system's own error number says which.
    const int system = db ? sqlite3_system_errno(db) : 0;
    if (system != 0 && (fault == StoreFault::Failed || fault == StoreFault::ReadOnly))
        fault = SystemFault::ofErrno(system, fault);
    return StoreStatus::failure(StoreMessage::faultAt(fault, extended, path), path, detail);
}

StoreStatus systemFailure(int error, const QString& path, StoreFault fallback = StoreFault::Failed)
{
    return StoreStatus::failure(SystemFault::ofErrno(error, fallback), path,
                                QString::fromLocal8Bit(std::strerror(error)));
}

// Copies the rest of `from` into `to`, in the kernel where it can.
int copyContents(int from, int to)
{
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, kCopyChunk, 0);
        if (copied == 0)
            return 0;
        if (copied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return errno;
        break;
    }
    QByteArray buffer(int(kCopyChunk), Qt::Uninitialized);
    for (;;) {
        const ssize_t read = ::read(from, buffer.data(), size_t(buffer.size()));
        if (read == 0)
            return 0;
        if (read < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t written = 0; written < read;) {
            const ssize_t step = ::write(to, buffer.constData() + written, size_t(read - written));
            if (step < 0 && errno != EINTR)
                return errno;
            written += std::max<ssize_t>(step, 0);
        }
    }
}

// Opens without create: a missing file stays missing.
StoreResult<Connection> openFile(const QString& path, int flags)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection db(raw);
    if (code != SQLITE_OK)
        return failureOf(db.get(), code, path);
    sqlite3_busy_timeout(db.get(), kLockWaitMilliseconds);
    return db;
}

// The first column of the first row of `sql`, as text; `found` tells whether a row came.
StoreStatus firstText(sqlite3* db, const char* sql, const QString& path, QString& text, bool& found)
{
    sqlite3_stmt* raw = nullptr;
    int code = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const Statement statement(raw);
    if (code != SQLITE_OK)
        return failureOf(db, code, path);
    code = sqlite3_step(raw);
    found = code == SQLITE_ROW;
    if (found) {
        const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        text = value ? QString::fromUtf8(value) : QString();
        return StoreStatus::success();
    }
    return code == SQLITE_DONE ? StoreStatus::success() : failureOf(db, code, path);
}

StoreStatus damaged(const QString& path, const QString& why)
{
    return StoreStatus::failure(StoreFault::Damaged, path, why);
}

// A copy made by a newer program may be sound and still mean what this one cannot know.
StoreStatus checkVersion(sqlite3* db, const QString& path)
{
    QString version;
    bool found = false;
    const StoreStatus status = firstText(db, "PRAGMA user_version", path, version, found);
    if (!status.ok())
        return status;
    return SchemaVersion::known(version.toInt(), path);
}

StoreStatus checkOpen(sqlite3* db, const QString& path, StoreKind kind)
{
    QString result;
    bool found = false;
    StoreStatus status = checkVersion(db, path);
    if (!status.ok())
        return status;
    status = firstText(db, "PRAGMA quick_check", path, result, found);
    if (!status.ok())
        return status;
    if (!found || result != QLatin1String("ok"))
        return damaged(path, result);
    for (const QString& table : StoreCopy::tablesOf(kind)) {
        const QByteArray sql = QStringLiteral("SELECT count(*) FROM [%1]").arg(table).toUtf8();
        status = firstText(db, sql.constData(), path, result, found);
        if (!status.ok())
            return status.fault() == StoreFault::Failed ? damaged(path, status.detail()) : status;
    }
    // The password and settings tables each hold their one row.
    const char* const single =
        kind == StoreKind::Archive ? "SELECT count(*) FROM [密码]" : "SELECT count(*) FROM [设置]";
    status = firstText(db, single, path, result, found);
    if (!status.ok())
        return status;
    if (result.toLongLong() < 1)
        return damaged(path, QStringLiteral("single row missing"));
    return StoreStatus::success();
}

// A consistent image taken under the database's own lock: a read transaction on the source
// holds its shared lock, so no writer, in this program or another, can change the file until
// the copy is done; a source locked longer than the busy timeout is reported busy. The file
// itself is copied by the system, which is several times faster on a large archive than
// copying it page by page, and is then checked as a whole.
StoreStatus backUp(const QString& source, const QString& temporary, const QString& shownTarget)
{
    StoreResult<Connection> from = openFile(source, SQLITE_OPEN_READONLY);
    if (!from.ok())
        return from;
    sqlite3* db = from.value().get();
    QString tables;
    bool found = false;
    int code = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    StoreStatus status = code == SQLITE_OK ? firstText(db, "SELECT count(*) FROM sqlite_master",
                                                       source, tables, found)
                                           : failureOf(db, code, source);
    if (status.ok()) {
        status = StoreCopy::copyFile(source, temporary);
        // The user knows the copy by its own name, not the temporary one.
        if (!status.ok() && status.path() == temporary)
            status = StoreStatus::failure(status.fault(), shownTarget, status.detail());
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return status;
}

// The first and the last row of each table: the pages on the way to both ends of its tree.
StoreStatus readEnds(sqlite3* db, const QString& path, StoreKind kind)
{
    QString text;
    bool found = false;
    for (const QString& table : StoreCopy::tablesOf(kind)) {
        for (const char* order : {"", " ORDER BY rowid DESC"}) {
            const QByteArray sql = QStringLiteral("SELECT * FROM [%1]%2 LIMIT 1")
                                       .arg(table, QLatin1String(order))
                                       .toUtf8();
            const StoreStatus status = firstText(db, sql.constData(), path, text, found);
            if (!status.ok())
                return status.fault() == StoreFault::Failed ? damaged(path, status.detail())
                                                            : status;
        }
    }
    return StoreStatus::success();
}

StoreStatus probeOpen(sqlite3* db, const QString& path, StoreKind kind)
{
    QString tables;
    bool found = false;
    StoreStatus status = checkVersion(db, path);
    if (!status.ok())
        return status;
    status = firstText(db, "SELECT group_concat(name, '|') FROM sqlite_master WHERE type = 'table'",
                       path, tables, found);
    if (!status.ok())
        return status;
    const QStringList present = tables.split(QLatin1Char('|'));
    for (const QString& table : StoreCopy::tablesOf(kind)) {
        if (!present.contains(table))
            return damaged(path, QStringLiteral("table %1 missing").arg(table));
    }
    if (QFileInfo(path).size() <= kQuickCheckedBytes)
        return checkOpen(db, path, kind);
    return readEnds(db, path, kind);
}

} // namespace

StoreStatus StoreCopy::probe(const QString& path, StoreKind kind)
{
    if (!QFileInfo::exists(path))
        return StoreStatus::failure(StoreFault::Missing, path);
    StoreResult<Connection> db = openFile(path, SQLITE_OPEN_READONLY);
    if (!db.ok())
        return db;
    const StoreStatus status = probeOpen(db.value().get(), path, kind);
    if (!status.ok() && status.fault() == StoreFault::Failed)
        return damaged(path, status.detail());
    return status;
}

QStringList StoreCopy::tablesOf(StoreKind kind)
{
    if (kind == StoreKind::Archive)
        return {QStringLiteral("档案"), QStringLiteral("密码")};
    return {QStringLiteral("药品"), QStringLiteral("诊断"), QStringLiteral("地址"),
            QStringLiteral("设置")};
}

StoreStatus StoreCopy::check(const QString& path, StoreKind kind)
{
    if (!QFileInfo::exists(path))
        return StoreStatus::failure(StoreFault::Missing, path);
    StoreResult<Connection> db = openFile(path, SQLITE_OPEN_READONLY);
    if (!db.ok())
        return db;
    // No memory map: a mapped million-record archive would count whole against the program's
    // resident memory on a backup day; plain reads go through the small page cache instead.
    const StoreStatus status = checkOpen(db.value().get(), path, kind);
    // A file that is not a store reads as damaged, whatever the engine called it.
    if (!status.ok() && status.fault() == StoreFault::Failed)
        return damaged(path, status.detail());
    return status;
}

StoreStatus StoreCopy::install(const QString& written, const QString& target)
{
    // Whatever wrote it, what takes the store's place is the owner's alone.
    if (!PrivateFiles::narrow(written))
        return StoreStatus::failure(StoreFault::Failed, target);
    const QByteArray from = QFile::encodeName(written);
    const int file = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = file >= 0 && ::fsync(file) == 0;
    const int syncError = errno;
    if (file >= 0)
        ::close(file);
    if (!synced)
        return systemFailure(syncError, target);
    // rename() replaces the target in one step: either the old copy or the new one stands.
    if (std::rename(from.constData(), QFile::encodeName(target).constData()) != 0)
        return systemFailure(errno, target, StoreFault::ReadOnly);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int directory = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return StoreStatus::success();
}

StoreStatus StoreCopy::copyFile(const QString& source, const QString& target)
{
    const int from = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return StoreStatus::failure(StoreFault::Unreadable, source);
        return systemFailure(error, source);
    }
    const QByteArray targetName = QFile::encodeName(target);
    // Copies of the stores hold patient data: the owner's alone from their first byte.
    const int to = ::open(targetName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          PrivateFiles::kFileMode);
    if (to < 0) {
        const int error = errno;
        ::close(from);
        return systemFailure(error, target);
    }
    int error = copyContents(from, to);
    if (error == 0 && ::fsync(to) != 0)
        error = errno;
    ::close(from);
    if (::close(to) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return StoreStatus::success();
    ::unlink(targetName.constData());
    return systemFailure(error, target);
}

StoreStatus StoreCopy::writeFile(const QString& target, const QByteArray& bytes)
{
    const QString temporary = target + QStringLiteral(".new");
    const QByteArray name = QFile::encodeName(temporary);
    const int file =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, PrivateFiles::kFileMode);
    if (file < 0)
        return systemFailure(errno, target);
    int error = SiblingTempFile::writeAll(file, bytes);
    if (::close(file) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.constData());
        return systemFailure(error, target);
    }
    const StoreStatus installed = install(temporary, target);
    if (!installed.ok())
        ::unlink(name.constData());
    return installed;
}

StoreStatus StoreCopy::makeFolder(const QString& folder)
{
    if (PrivateFiles::makeFolder(folder))
        return StoreStatus::success();
    // Made again only to learn the cause the system gives.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (!error)
        return StoreStatus::success();
    return systemFailure(error.value(), folder, StoreFault::ReadOnly);
}

void StoreCopy::removeStaleTemporaries(const QString& folder)
{
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-kStaleSeconds);
    const QFileInfoList parts =
        QDir(folder).entryInfoList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& part : parts) {
        if (part.lastModified().toUTC() < stale)
            removeTemporary(part.absoluteFilePath());
    }
}

void StoreCopy::removeTemporary(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

StoreStatus StoreCopy::copyChecked(const QString& source, const QString& target, StoreKind kind)
{
    if (!QFileInfo::exists(source))
        return StoreStatus::failure(StoreFault::Missing, source);
    // A name of its own, so two copies never share a temporary file.
    const QString temporary = target + QStringLiteral(".") +
                              QUuid::createUuid().toString(QUuid::Id128).left(8) +
                              QStringLiteral(".part");
    StoreStatus status = backUp(source, temporary, target);
    if (status.ok()) {
        status = check(temporary, kind);
        // The copy is a faithful image: when it fails the check, the source does too.
        if (status.fault() == StoreFault::Damaged || status.fault() == StoreFault::TooNew)
            status = StoreStatus::failure(status.fault(), source, status.detail());
    }
    if (status.ok())
        status = install(temporary, target);
    if (!status.ok())
        removeTemporary(temporary);
    return status;
}

} // namespace quilloa
