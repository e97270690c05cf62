#pragma once

#include <QString>

#include <atomic>
#include <thread>

namespace quilloa::test {

// A TCP relay on 127.0.0.1 in front of a test server's Unix socket, for the faults a network or
// a server can have: it passes the bytes, stalls (holds every byte both ways), drops the
// server's replies while passing the requests, or cuts every relayed connection. A mode applies
// to the connections made from then on and, unless told otherwise, to the open ones. It runs in
// a thread of its own that polls in short slices and ends with the object.
class FaultRelay
{
public:
    enum class Mode
    {
        Pass,
        Stall,
        DropReplies,
    };

    explicit FaultRelay(QString serverSocket);
    ~FaultRelay();
    FaultRelay(const FaultRelay&) = delete;
    FaultRelay& operator=(const FaultRelay&) = delete;

    // Listens on a free loopback port.
    bool start();
    // libpq words that reach the test server's `database` through the relay.
    QString connectionText(const QString& database, const QString& user) const;

    // With `openOnly`, new connections keep passing: the fault hits the calls under way only.
    void setMode(Mode mode, bool openOnly = false);
    void cutAll() { ++m_cutRequests; }

private:
    struct Pair;
    void run();

    QString m_serverSocket;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<Mode> m_mode{Mode::Pass};
    std::atomic<Mode> m_newMode{Mode::Pass};
    std::atomic<int> m_modeChanges{0};
    std::atomic<int> m_cutRequests{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace quilloa::test
