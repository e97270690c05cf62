#pragma once

#include "core/store/StoreResult.h"
#include "core/store/file/StoreCopy.h"

#include <QString>

struct sqlite3;

namespace quilloa {

// A checked copy of a store that a connection holds under its exclusive lock, read through that
// connection's own file: opening and closing the store file a second time in this process would
// drop the process's locks on it (POSIX record locks belong to the process, not to the file
// handle), and another program could then write the store while it is imported into.
class LockedStoreCopy
{
public:
    // Copies database `schema` ("main" or an attached name) of `db` to the new file `target`.
    [[nodiscard]] static StoreStatus save(sqlite3* db, const char* schema, const QString& store,
                                          const QString& target, StoreKind kind);
};

} // namespace quilloa
