#include "support/FaultyVfs.h"

#include <sqlite3.h>

#include <cstring>

namespace quilloa::test {
namespace {

struct State
{
    sqlite3_vfs* parent = nullptr;
    sqlite3_vfs vfs{};
    bool armed = false;
    FaultyVfs::Operation operation = FaultyVfs::Operation::Write;
    FaultyVfs::Failure failure = FaultyVfs::Failure::IoError;
    int remaining = 0;
    bool lasting = false;
    bool fired = false;
};

State& state()
{
    static State s;
    return s;
}

// True when this call is the one to fail.
bool failsNow(FaultyVfs::Operation operation)
{
    State& s = state();
    if (!s.armed || s.operation != operation)
        return false;
    if (--s.remaining > 0)
        return false;
    s.armed = s.lasting;
    s.fired = true;
    return true;
}

struct File
{
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file)
{
    return reinterpret_cast<File*>(file)->real;
}

int xClose(sqlite3_file* f)
{
    return real(f)->pMethods->xClose(real(f));
}
int xRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int xWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (failsNow(FaultyVfs::Operation::Write))
        return state().failure == FaultyVfs::Failure::DiskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return real(f)->pMethods->xTruncate(real(f), size);
}
// Every sync is still a fault point, but none reaches the disk: the test's stores need to survive
// no power cut, and on a disk busy with other work each flush waits longer than the whole
// operation computes, which made the run's time that of the disk's queue.
int xSync(sqlite3_file*, int)
{
    if (failsNow(FaultyVfs::Operation::Sync))
        return SQLITE_IOERR_FSYNC;
    return SQLITE_OK;
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int level)
{
    if (failsNow(FaultyVfs::Operation::Lock))
        return SQLITE_IOERR_LOCK;
    return real(f)->pMethods->xLock(real(f), level);
}
int xUnlock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file* f, int* result)
{
    return real(f)->pMethods->xCheckReservedLock(real(f), result);
}
int xFileControl(sqlite3_file* f, int op, void* arg)
{
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f)
{
    return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f)
{
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out)
{
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f)
{
    real(f)->pMethods->xShmBarrier(real(f));
}
int xShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
int xFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    return real(f)->pMethods->xFetch(real(f), offset, amount, out);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    return real(f)->pMethods->xUnfetch(real(f), offset, page);
}

// Memory-mapped reads would bypass xRead but writes never bypass xWrite, so version 3 is kept.
const sqlite3_io_methods kMethods = {
    3,
    xClose,
    xRead,
    xWrite,
    xTruncate,
    xSync,
    xFileSize,
    xLock,
    xUnlock,
    xCheckReservedLock,
    xFileControl,
    xSectorSize,
    xDeviceCharacteristics,
    xShmMap,
    xShmLock,
    xShmBarrier,
    xShmUnmap,
    xFetch,
    xUnfetch,
};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* wrapper = reinterpret_cast<File*>(file);
    wrapper->base.pMethods = nullptr;
    if (failsNow(FaultyVfs::Operation::Open))
        return SQLITE_CANTOPEN;
    wrapper->real = reinterpret_cast<sqlite3_file*>(wrapper + 1);
    sqlite3_vfs* parent = state().parent;
    const int code = parent->xOpen(parent, name, wrapper->real, flags, outFlags);
    if (wrapper->real->pMethods)
        wrapper->base.pMethods = &kMethods;
    return code;
}

} // namespace

void FaultyVfs::install()
{
    State& s = state();
    if (s.parent)
        return;
    s.parent = sqlite3_vfs_find(nullptr);
    std::memcpy(&s.vfs, s.parent, sizeof(sqlite3_vfs));
    s.vfs.zName = "quilloa-faulty";
    s.vfs.szOsFile = int(sizeof(File)) + s.parent->szOsFile;
    s.vfs.xOpen = xOpen;
    sqlite3_vfs_register(&s.vfs, 1);
}

void FaultyVfs::arm(Operation operation, int nth, Failure failure, Lasting lasting)
{
    State& s = state();
    s.lasting = lasting == Lasting::FromThenOn;
    s.operation = operation;
    s.failure = failure;
    s.remaining = nth;
    s.fired = false;
    s.armed = nth > 0;
}

void FaultyVfs::disarm()
{
    state().armed = false;
}

bool FaultyVfs::fired()
{
    return state().fired;
}

} // namespace quilloa::test
