#pragma once

#include "core/store/StoreResult.h"

#include <QString>

class QSqlError;

namespace quilloa {

// Turns a failed store operation into plain Chinese that names the cause and what to do, so
// no engine text ever reaches the user. Every window shows store failures through this.
class StoreMessage
{
public:
    static QString of(const StoreStatus& status);
    // Sorts an engine error into the fault the user can act on.
    static StoreFault faultOf(const QSqlError& error);
    // The same for a result code of the SQLite library and its message.
    static StoreFault faultOfCode(int code, const QString& detail);
    // `fault`, sorted from the engine's result `code`, as the file system around `path` shows
    // it when the engine folds several causes into that code (see SystemFault).
    static StoreFault faultAt(StoreFault fault, int code, const QString& path);
    // "“名称”最多 50 个字" for a value longer than its column; empty when `detail` is not about
    // a column limit.
    static QString limitOf(const QString& detail);
    // "“档案.dat”是较新版本的程序建立的（版本 2），本程序只认识到版本 1" for a store of a newer
    // program (StoreFault::TooNew); `name` is the file or the server.
    static QString newerVersion(const QString& name, const StoreStatus& status);
    // What to do about a folder that could not be made or written, by the cause in `status`.
    static QString folderCause(const StoreStatus& status);

private:
    static QString ofServer(const StoreStatus& status);
    static QString connectionCause(const StoreStatus& status);
    static QString noRow();
};

} // namespace quilloa
