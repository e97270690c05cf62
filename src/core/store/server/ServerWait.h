#pragma once

#include "core/store/server/ServerWaitHook.h"

#include <chrono>

namespace quilloa {

// One server call's wait for its socket: short polls with a deadline, the installed hook called
// between them, so the caller's thread never blocks for longer than a slice.
class ServerWait
{
public:
    enum class Ready
    {
        Socket,   // the socket can be read (or written, when asked)
        Deadline, // nothing happened before the deadline
        Failed,   // the socket itself failed
    };

    ServerWait();
    ~ServerWait();
    ServerWait(const ServerWait&) = delete;
    ServerWait& operator=(const ServerWait&) = delete;

    // Waits until `socket` is readable (or writable too, with `write`), or `deadline` passes.
    Ready until(int socket, bool write, std::chrono::steady_clock::time_point deadline);

    // The hook of the program, or none (a command-line run). Not owned; called only on the
    // thread that installed it.
    static void setHook(ServerWaitHook* hook);
    // Whether the hook is running: what it lets run (a repaint that reads a list line, a posted
    // call) must not start a server call of its own while another one waits.
    static bool inHook();

private:
    std::chrono::steady_clock::time_point m_start;
    bool m_told = false;
};

} // namespace quilloa
