#include "sim/HartIpServer.h"
#include "sim/ServeLoop.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

namespace sim {

namespace {

std::optional<in_addr> ParseHost(const std::string& host)
{
    in_addr addr{};
    if (inet_pton(AF_INET, host == "localhost" ? "127.0.0.1" : host.c_str(), &addr) != 1)
        return std::nullopt;
    const std::uint32_t value = ntohl(addr.s_addr);
    if (value != INADDR_ANY && (value >> 24) != 127)
        return std::nullopt;
    return addr;
}

// A TCP client that never reads: what waits for it is bounded.
constexpr std::size_t kMaxQueuedBytes = 256 * 1024;

}  // namespace

bool ListenHostAllowed(const std::string& host) { return ParseHost(host).has_value(); }

HartIpServer::HartIpServer(ModemOptions options, int publishVersion, LogFn log, bool tcp)
    : m_HartIp(std::move(options), publishVersion, tcp ? Link::kTcp : Link::kUdp), m_Log(std::move(log)), m_Tcp(tcp)
{
    m_HartIp.SetLog(m_Log);
}

HartIpServer::~HartIpServer() { Stop(); }

std::string HartIpServer::Start(const std::string& host, std::uint16_t port)
{
    std::lock_guard lock(m_Mutex);
    if (m_Thread.joinable())
        return m_Address;
    const auto addr = ParseHost(host);
    if (!addr)
        throw std::runtime_error("will not listen on " + host + ": loopback or any host only");
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = *addr;
    local.sin_port = htons(port);
    int fd = ::socket(AF_INET, (m_Tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        throw SystemError("socket");
    try {
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
            throw SystemError("bind " + host + ":" + std::to_string(port));
        if (m_Tcp && ::listen(fd, 4) != 0)
            throw SystemError("listen");
        socklen_t size = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0)
            throw SystemError("getsockname");
        m_Wake.Open();
    } catch (...) {
        CloseFd(fd);
        throw;
    }
    m_Socket = fd;
    // A client reaches "any host" at the loopback address.
    const std::string shown = addr->s_addr == htonl(INADDR_ANY) ? "127.0.0.1" : inet_ntoa(*addr);
    m_Address = (m_Tcp ? "hartip+tcp://" : "hartip://") + shown + ":" + std::to_string(ntohs(local.sin_port));
    m_Stop = false;
    m_Serving = true;
    m_Thread = std::thread(&HartIpServer::Serve, this);
    return m_Address;
}

void HartIpServer::Stop()
{
    std::lock_guard lock(m_Mutex);
    if (!m_Thread.joinable())
        return;
    m_Stop = true;
    m_Wake.Wake();
    m_Thread.join();
    CloseAll();
}

void HartIpServer::WithDevices(const std::function<void(std::vector<Transmitter>&)>& fn)
{
    std::lock_guard lock(m_SessionMutex);
    fn(m_HartIp.Answers().Devices());
}

void HartIpServer::CloseAll()
{
    CloseFd(m_Socket);
    m_Wake.Close();
    m_Address.clear();
}

void HartIpServer::Serve()
{
    const LoopClock clock;
    const auto log = [this](const std::string& text) {
        if (m_Log)
            m_Log(text);
    };
    std::deque<Due> queue;  // writes by due time
    std::size_t queued = 0;
    Bytes out;  // TCP: due bytes the socket has not taken yet
    int client = -1;
    sockaddr_in peer{};  // UDP: the client of the session, or the latest sender
    bool hasPeer = false;
    std::vector<std::uint8_t> buffer(65536);
    const auto enqueue = [&](std::vector<Chunk> chunks, std::uint64_t now) {
        for (Chunk& chunk : chunks) {
            if (queued + out.size() + chunk.bytes.size() > kMaxQueuedBytes) {
                log("dropped: the client does not read");
                continue;
            }
            queued += chunk.bytes.size();
            Due due{now + static_cast<std::uint64_t>(chunk.delayMs), std::move(chunk.bytes)};
            const auto at = std::upper_bound(queue.begin(), queue.end(), due.atMs,
                                             [](std::uint64_t t, const Due& d) { return t < d.atMs; });
            queue.insert(at, std::move(due));
        }
    };
    const auto dropClient = [&] {
        CloseFd(client);
        queue.clear();
        queued = 0;
        out.clear();
        m_HartIp.Reset();
    };
    const auto sendTo = [&](const sockaddr_in& to, const Bytes& bytes) {
        if (::sendto(m_Socket, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0)
            log(std::string("sendto failed: ") + std::strerror(errno));
    };

    while (!m_Stop) {
        std::unique_lock session(m_SessionMutex);
        std::uint64_t now = clock.NowMs();
        enqueue(m_HartIp.Advance(now), now);
        while (!queue.empty() && queue.front().atMs <= now) {
            queued -= queue.front().bytes.size();
            if (m_Tcp && client >= 0)
                out.insert(out.end(), queue.front().bytes.begin(), queue.front().bytes.end());
            else if (!m_Tcp && hasPeer)
                sendTo(peer, queue.front().bytes);
            queue.pop_front();
        }
        if (client >= 0 && !out.empty()) {
            const ssize_t written = ::send(client, out.data(), out.size(), MSG_NOSIGNAL);
            if (written > 0) {
                out.erase(out.begin(), out.begin() + written);
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                log(std::string("client lost: ") + std::strerror(errno));
                dropClient();
            }
        }
        if (m_HartIp.Ended() && queue.empty() && out.empty()) {
            if (client >= 0)
                log("connection closed");
            dropClient();
        }

        // Sleep until the next write or event is due.
        std::optional<std::uint64_t> wakeMs = m_HartIp.NextEventMs();
        if (!queue.empty())
            wakeMs = std::min(queue.front().atMs, wakeMs.value_or(queue.front().atMs));
        int timeoutMs = -1;
        if (wakeMs)
            timeoutMs = *wakeMs > now ? static_cast<int>(*wakeMs - now) : 0;
        const int fd = m_Tcp && client >= 0 ? client : m_Socket;
        pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (out.empty() ? 0 : POLLOUT)), 0},
                         {m_Wake.ReadEnd(), POLLIN, 0}};
        session.unlock();
        const int polled = ::poll(fds, 2, timeoutMs);
        session.lock();
        if (polled < 0) {
            if (errno == EINTR)
                continue;
            log(std::string("poll failed: ") + std::strerror(errno));
            break;
        }
        if (fds[1].revents != 0)
            break;
        if ((fds[0].revents & POLLIN) == 0) {
            if (client >= 0 && (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                log("client hung up");
                dropClient();
            }
            continue;
        }
        now = clock.NowMs();
        if (!m_Tcp) {
            sockaddr_in from{};
            socklen_t size = sizeof from;
            const ssize_t got =
                ::recvfrom(m_Socket, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &size);
            if (got < 0)
                continue;
            const bool samePeer =
                hasPeer && from.sin_addr.s_addr == peer.sin_addr.s_addr && from.sin_port == peer.sin_port;
            if (m_HartIp.SessionOpen() && !samePeer) {
                // One session at a time: another client may not initiate one.
                std::size_t used = 0;
                bool broken = false;
                const auto m = DecodeHartIp(Bytes(buffer.begin(), buffer.begin() + got), used, broken);
                log("ignored a datagram from another client");
                if (m && m->type == hartip::kRequest && m->id == hartip::kInitiate)
                    sendTo(from, EncodeHartIp({hartip::kVersion,
                                               hartip::kResponse,
                                               hartip::kInitiate,
                                               hartip::kAllSessionsInUse,
                                               m->sequence,
                                               {}}));
                continue;
            }
            peer = from;
            hasPeer = true;
            enqueue(m_HartIp.FeedDatagram(buffer.data(), static_cast<std::size_t>(got), now), now);
        } else if (client < 0) {
            client = ::accept4(m_Socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (client >= 0) {
                const int yes = 1;
                setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);  // each write its own segment
                log("client connected");
            }
        } else {
            const ssize_t got = ::recv(client, buffer.data(), buffer.size(), 0);
            if (got > 0) {
                enqueue(m_HartIp.Feed(buffer.data(), static_cast<std::size_t>(got), now), now);
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                log("client went away");
                dropClient();
            }
        }
    }
    CloseFd(client);
    m_Serving = false;
}

}  // namespace sim
