#include "support/FaultRelay.h"

#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace quilloa::test {

struct FaultRelay::Pair
{
    int client = -1;
    int server = -1;
    Mode mode = Mode::Pass;
};

namespace {

int connectUnix(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Moves what `from` has into `to` (or nowhere); false when `from` ended.
bool forward(int from, int to)
{
    char buffer[16384];
    const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
    if (got <= 0)
        return false;
    for (ssize_t sent = 0; to >= 0 && sent < got;) {
        const ssize_t now = ::send(to, buffer + sent, size_t(got - sent), MSG_NOSIGNAL);
        if (now <= 0)
            return false;
        sent += now;
    }
    return true;
}

} // namespace

FaultRelay::FaultRelay(QString serverSocket) : m_serverSocket(std::move(serverSocket)) {}

FaultRelay::~FaultRelay()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

bool FaultRelay::start()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return false;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
    return true;
}

QString FaultRelay::connectionText(const QString& database, const QString& user) const
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=%3")
        .arg(m_port)
        .arg(database, user);
}

void FaultRelay::setMode(Mode mode, bool openOnly)
{
    m_newMode = openOnly ? Mode::Pass : mode;
    m_mode = mode;
    ++m_modeChanges;
}

void FaultRelay::run()
{
    std::vector<Pair> pairs;
    int modeChanges = 0;
    int cuts = 0;
    const auto closePair = [](Pair& pair) {
        ::close(pair.client);
        ::close(pair.server);
        pair.client = pair.server = -1;
    };
    while (!m_stop) {
        if (const int now = m_modeChanges; now != modeChanges) {
            modeChanges = now;
            for (Pair& pair : pairs)
                pair.mode = m_mode;
        }
        if (const int now = m_cutRequests; now != cuts) {
            cuts = now;
            for (Pair& pair : pairs)
                closePair(pair);
        }
        std::erase_if(pairs, [](const Pair& pair) { return pair.client < 0; });
        std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
        for (const Pair& pair : pairs) {
            // A stalled connection is not read at all, so nothing moves either way.
            const short events = pair.mode == Mode::Stall ? short(0) : short(POLLIN);
            watched.push_back({pair.client, events, 0});
            watched.push_back({pair.server, events, 0});
        }
        if (::poll(watched.data(), watched.size(), 20) <= 0)
            continue;
        if (watched[0].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const int server = client >= 0 ? connectUnix(m_serverSocket) : -1;
            if (server >= 0)
                pairs.push_back({client, server, m_newMode});
            else if (client >= 0)
                ::close(client);
        }
        // A pair accepted in this round was not polled yet.
        for (size_t i = 0; 2 + 2 * i < watched.size(); ++i) {
            Pair& pair = pairs[i];
            const pollfd& fromClient = watched[1 + 2 * i];
            const pollfd& fromServer = watched[2 + 2 * i];
            bool open = true;
            if (fromClient.revents & (POLLIN | POLLHUP | POLLERR))
                open = forward(pair.client, pair.server);
            if (open && (fromServer.revents & (POLLIN | POLLHUP | POLLERR)))
                open = forward(pair.server, pair.mode == Mode::DropReplies ? -1 : pair.client);
            if (!open)
                closePair(pair);
        }
    }
    for (Pair& pair : pairs)
        closePair(pair);
}

} // namespace quilloa::test
