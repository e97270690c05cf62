#pragma once

// Given to every file of a Windows build (-include): the store and file code speaks the POSIX
// file calls, and this maps the few the Windows C runtime lacks or names differently. Paths
// stay narrow strings: the program's manifest makes the system's narrow code page UTF-8, so
// QFile::encodeName() and the C runtime agree on Chinese names.

#ifdef __cplusplus
#include <cerrno>
#endif
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>

// Every open() of ours closes on exec; on Windows that is "not inherited", and the files are
// bytes, never text with line ends to translate.
#ifndef O_CLOEXEC
#define O_CLOEXEC (_O_BINARY | _O_NOINHERIT)
#endif
// A folder cannot be opened as a file on Windows; such an open fails and its sync is skipped.
#ifndef O_DIRECTORY
#define O_DIRECTORY 0
#endif

// Errors that Windows never reports; the values only have to differ from the real ones.
#ifndef EDQUOT
#define EDQUOT 1122
#endif
#ifndef ELOOP
#define ELOOP 1114
#endif

#ifdef __cplusplus
// Defined in PosixOnWindows.cpp: fsync() as the store code means it (see there).
int quilloaFlushFile(int file);

// Windows keeps a user's files private by the access lists of the profile folders, not by
// mode bits: the mode is accepted and left to them.
inline int mkdir(const char* path, int /*mode*/)
{
    return _mkdir(path);
}
inline int fchmod(int /*file*/, int /*mode*/)
{
    return 0;
}
inline int fsync(int file)
{
    return quilloaFlushFile(file);
}
// The read-only attribute does not stop anyone making files in a folder, so every Windows user
// counts as what root is on Linux for the checks that ask.
inline int geteuid()
{
    return 0;
}
// No copying in the kernel: the caller falls back to reading and writing.
inline ssize_t copy_file_range(int, long long*, int, long long*, size_t, unsigned)
{
    errno = ENOSYS;
    return -1;
}
#endif
