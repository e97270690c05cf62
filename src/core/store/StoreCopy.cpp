#include "core/store/StoreCopy.h"

#include "core/store/PrivateFiles.h"
#include "core/store/StoreMessage.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace quilloa {
namespace {

constexpr int kBusyMilliseconds = 1500;

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
    return StoreStatus::failure(StoreMessage::faultOfCode(extended, detail), path, detail);
}

// Opens without create: a missing file stays missing.
StoreResult<Connection> openFile(const QString& path, int flags)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection db(raw);
    if (code != SQLITE_OK)
        return failureOf(db.get(), code, path);
    sqlite3_busy_timeout(db.get(), kBusyMilliseconds);
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

StoreStatus checkOpen(sqlite3* db, const QString& path, StoreKind kind)
{
    QString result;
    bool found = false;
    StoreStatus status = firstText(db, "PRAGMA quick_check", path, result, found);
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
    if (status.ok() && !PrivateFiles::copy(source, temporary))
        status = StoreStatus::failure(StoreFault::Failed, shownTarget);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return status;
}

} // namespace

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
    if (file >= 0)
        ::close(file);
    if (!synced)
        return StoreStatus::failure(StoreFault::Failed, target);
    // rename() replaces the target in one step: either the old copy or the new one stands.
    if (std::rename(from.constData(), QFile::encodeName(target).constData()) != 0)
        return StoreStatus::failure(StoreFault::ReadOnly, target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int directory = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return StoreStatus::success();
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
        if (!status.ok() && status.fault() == StoreFault::Damaged)
            status = StoreStatus::failure(StoreFault::Damaged, source, status.detail());
    }
    if (status.ok())
        status = install(temporary, target);
    if (!status.ok())
        removeTemporary(temporary);
    return status;
}

} // namespace quilloa
