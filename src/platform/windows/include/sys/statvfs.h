#pragma once

// The free-space question the store code asks with statvfs(), answered by Windows.

#include <windows.h>

struct statvfs
{
    unsigned long long f_bavail = 0;
    unsigned long long f_bsize = 1;
};

inline int statvfs(const char* path, struct statvfs* space)
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(path, &available, nullptr, nullptr))
        return -1;
    space->f_bavail = available.QuadPart;
    space->f_bsize = 1;
    return 0;
}
