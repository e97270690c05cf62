#include "core/store/server/ServerWait.h"

#include <algorithm>
#include <atomic>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <cerrno>
#include <poll.h>
#endif

namespace quilloa {
namespace {

// Short enough that the window repaints smoothly while it waits.
constexpr std::chrono::milliseconds kSlice(40);

std::atomic<ServerWaitHook*>& hookSet()
{
    static std::atomic<ServerWaitHook*> hook = nullptr;
    return hook;
}

std::atomic<std::thread::id>& hookThread()
{
    static std::atomic<std::thread::id> thread;
    return thread;
}

// The hook repaints windows, so it belongs to the thread that installed it: a call waiting on
// a thread of its own (a backup export beside the open window) just waits.
ServerWaitHook* installed()
{
    return hookThread().load() == std::this_thread::get_id() ? hookSet().load() : nullptr;
}

int& hookDepth()
{
    thread_local int depth = 0;
    return depth;
}

// 1: ready, 0: nothing within `milliseconds`, -1: the socket failed.
int pollOnce(int socket, bool write, int milliseconds)
{
#ifdef _WIN32
    WSAPOLLFD entry{};
    entry.fd = static_cast<SOCKET>(socket);
    entry.events = POLLRDNORM | (write ? POLLWRNORM : 0);
    const int polled = WSAPoll(&entry, 1, milliseconds);
#else
    pollfd entry{};
    entry.fd = socket;
    entry.events = short(POLLIN | (write ? POLLOUT : 0));
    int polled = 0;
    do
        polled = ::poll(&entry, 1, milliseconds);
    while (polled < 0 && errno == EINTR);
#endif
    if (polled < 0)
        return -1;
    // A hang-up or error is read by the library as the connection's end.
    return polled > 0 ? 1 : 0;
}

} // namespace

ServerWait::ServerWait() : m_start(std::chrono::steady_clock::now()) {}

ServerWait::~ServerWait()
{
    if (m_told && installed())
        installed()->finished();
}

void ServerWait::setHook(ServerWaitHook* hook)
{
    hookThread() = std::this_thread::get_id();
    hookSet() = hook;
}

bool ServerWait::inHook()
{
    return hookDepth() > 0;
}

ServerWait::Ready ServerWait::until(int socket, bool write,
                                    std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    if (socket < 0)
        return Ready::Failed;
    for (;;) {
        const auto now = steady_clock::now();
        if (now >= deadline)
            return Ready::Deadline;
        const auto left = duration_cast<milliseconds>(deadline - now) + milliseconds(1);
        const int polled = pollOnce(socket, write, int(std::min(left, kSlice).count()));
        if (polled != 0)
            return polled > 0 ? Ready::Socket : Ready::Failed;
        if (ServerWaitHook* hook = installed()) {
            m_told = true;
            ++hookDepth();
            hook->waiting(duration_cast<milliseconds>(steady_clock::now() - m_start));
            --hookDepth();
        }
    }
}

} // namespace quilloa
