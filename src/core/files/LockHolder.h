#pragma once

#include <QString>

namespace quilloa {

// Which other program holds the database lock of a store file, so a message can say which one
// to close. Read from the system's table of locks while they are held; the program's own locks
// are left out.
class LockHolder
{
public:
    // "程序“sqlite3”（进程号 4242）", or empty when no other process holds the file's lock (or
    // the system does not say).
    static QString of(const QString& path);
};

} // namespace quilloa
