#pragma once

#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// The cause the system itself reported for a failed file operation, in the terms the user can
// act on. The database engine folds several causes into one code ("cannot open" for a full disk,
// a file without read rights and a read-only folder alike), so its faults are checked against
// the file system before they are worded.
class SystemFault
{
public:
    // The fault of a system error number (errno); `fallback` when it names none of ours.
    static StoreFault ofErrno(int error, StoreFault fallback = StoreFault::Failed);
    // `fault` as the file system around `path` shows it: a file that cannot be read is
    // unreadable, a disk without free space is full, a file and folder that can both be
    // written are not read-only.
    static StoreFault refine(StoreFault fault, const QString& path);
};

} // namespace quilloa
