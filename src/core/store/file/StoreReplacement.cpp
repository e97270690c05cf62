#include "core/store/file/StoreReplacement.h"

#include "core/store/LockWait.h"
#include "core/store/StoreMessage.h"
#include "core/store/SystemFault.h"
#include "core/store/file/StoreDamage.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <utility>

namespace quilloa {
namespace {

StoreStatus failureOf(sqlite3* db, int code, const QString& path)
{
    const QString detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    StoreFault fault = StoreMessage::faultOfCode(code, detail);
    const int system = db ? sqlite3_system_errno(db) : 0;
    if (system != 0 && (fault == StoreFault::Failed || fault == StoreFault::ReadOnly))
        fault = SystemFault::ofErrno(system, fault);
    return StoreStatus::failure(StoreMessage::faultAt(fault, code, path), path, detail);
}

StoreStatus open(const QString& path, int flags, sqlite3*& db)
{
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (code != SQLITE_OK)
        return failureOf(db, sqlite3_extended_errcode(db), path);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kLockWaitMilliseconds);
    return StoreStatus::success();
}

} // namespace

StoreReplacement::StoreReplacement(QString store, QString copy, StoreKind kind)
    : m_store(std::move(store)), m_copy(std::move(copy)), m_kind(kind)
{
}

StoreReplacement::~StoreReplacement()
{
    release();
}

// Finishing a backup that has not run to its end rolls back what it wrote and drops the lock.
void StoreReplacement::release()
{
    if (m_backup)
        sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    sqlite3_close_v2(m_storeDb);
    sqlite3_close_v2(m_copyDb);
    m_storeDb = m_copyDb = nullptr;
}

StoreStatus StoreReplacement::lock()
{
    release();
    m_missing = !QFileInfo::exists(m_store);
    if (m_missing)
        return StoreStatus::success();
    StoreStatus status = open(m_copy, SQLITE_OPEN_READONLY, m_copyDb);
    if (status.ok())
        status = open(m_store, SQLITE_OPEN_READWRITE, m_storeDb);
    if (!status.ok()) {
        release();
        return status;
    }
    m_backup = sqlite3_backup_init(m_storeDb, "main", m_copyDb, "main");
    if (!m_backup) {
        status = failureOf(m_storeDb, sqlite3_extended_errcode(m_storeDb), m_store);
        release();
        return status;
    }
    // A step of no pages only begins the write: it takes the exclusive lock (rolling back
    // a transaction a killed program left) and holds it until commit() or release().
    const int code = sqlite3_backup_step(m_backup, 0);
    if (code == SQLITE_OK)
        return StoreStatus::success();
    status = code == SQLITE_BUSY || code == SQLITE_LOCKED
                 ? StoreStatus::failure(StoreFault::Busy, m_store)
                 : failureOf(m_storeDb, code, m_store);
    release();
    return status;
}

StoreStatus StoreReplacement::saveTo(const QString& target, bool* damaged) const
{
    if (damaged)
        *damaged = false;
    if (m_missing)
        return StoreStatus::success();
    if (!m_backup)
        return StoreStatus::failure(StoreFault::Busy, m_store);
    // Under the exclusive lock nothing has been written yet: the file is the store as it stands.
    const StoreStatus copied = StoreCopy::copyFile(m_store, target);
    if (!copied.ok())
        return copied;
    const StoreStatus checked = StoreCopy::check(target, m_kind);
    if (checked.fault() == StoreFault::Damaged) {
        if (damaged)
            *damaged = true;
        return StoreStatus::success();
    }
    return checked;
}

StoreStatus StoreReplacement::commit()
{
    m_wrote = false;
    if (m_missing) {
        // Put in place in one rename, or not at all.
        const StoreStatus copied = StoreCopy::copyChecked(m_copy, m_store, m_kind);
        m_wrote = copied.ok();
        return copied;
    }
    if (!m_backup)
        return StoreStatus::failure(StoreFault::Busy, m_store);
    // The copy's pages go in as one transaction of the engine: it ends written when the step
    // reports done, and otherwise leaves the store as it was (rolled back now, or by the next
    // program to open it).
    const int code = sqlite3_backup_step(m_backup, -1);
    m_wrote = code == SQLITE_DONE;
    const int finished = sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    StoreStatus status = StoreStatus::success();
    if (code != SQLITE_DONE)
        status = code == SQLITE_BUSY ? StoreStatus::failure(StoreFault::Busy, m_store)
                                     : failureOf(m_storeDb, code, m_store);
    else if (finished != SQLITE_OK)
        status = failureOf(m_storeDb, finished, m_store);
    release();
    // The damage, if any, was written over by a checked copy.
    if (m_wrote)
        StoreDamage::forget(m_store);
    return status;
}

} // namespace quilloa
