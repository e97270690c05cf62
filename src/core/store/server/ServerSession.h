#pragma once

#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

namespace quilloa {

// The server process behind one of the program's connections. A statement that went out and
// got no answer may still be carried out by that process, however long after; only once the
// process is gone is what it did settled, so that a look at the data tells the truth.
class ServerSession
{
public:
    // Ends the server's process `backend` (ServerConnection::backendOf), from another connection of
    // the same role, and waits until it is gone, within what is left of the operation's limit
    // (ServerDriver::Deadline). True once it is gone (or was already), false when it is still there
    // at the limit: a stopped process cannot even end.
    [[nodiscard]] static StoreResult<bool> end(const StoreConnection& server, int backend);
};

} // namespace quilloa
