#pragma once

#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// A save on a server that went out unanswered and whose outcome could not be found out yet:
// told as such, never as a failure, and looked for before it is tried again (ArchiveStore).
class UnsettledSave
{
public:
    // `stalled`: the server's process that ran the attempt is there but does not end; otherwise
    // the server could not be asked at all.
    [[nodiscard]] static StoreStatus status(const QString& server, bool stalled);
    [[nodiscard]] static bool is(const StoreStatus& status);
    // What is known, in the user's words.
    [[nodiscard]] static QString message(const StoreStatus& status);
};

} // namespace quilloa
