#include <windows.h>

#include <io.h>

#include <cerrno>
#include <string>

namespace {

std::wstring wide(const char* utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring text(length > 0 ? length : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), length);
    return text;
}

} // namespace

// Linked in place of rename() (-Wl,--wrap=rename): the C runtime's rename refuses an existing
// target, where POSIX replaces it in one step, which putting a checked copy in a store's place
// relies on. MoveFileEx replaces it the same way on one volume.
extern "C" int __wrap_rename(const char* from, const char* to)
{
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    switch (GetLastError()) {
    // Another program holding the file open is told as a held store, as a lock is on Linux.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EAGAIN;
        break;
    case ERROR_ACCESS_DENIED:
        errno = EACCES;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    case ERROR_DISK_FULL:
        errno = ENOSPC;
        break;
    default:
        errno = EIO;
    }
    return -1;
}

// What fsync() maps to. The store code syncs a finished file through a handle opened for
// reading, as POSIX allows, but FlushFileBuffers needs one that may write and refuses the rest
// with "access denied". Whoever wrote that file flushed it through its own handle (SQLite syncs
// every commit, a copy syncs before it closes), so that refusal alone is no failure. Not a
// link-time wrap of _commit: the C runtime's own declaration imports it from the DLL directly,
// past any wrap.
int quilloaFlushFile(int file)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file));
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    if (FlushFileBuffers(handle))
        return 0;
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
        return 0;
    case ERROR_DISK_FULL:
        errno = ENOSPC;
        break;
    default:
        errno = EIO;
    }
    return -1;
}
