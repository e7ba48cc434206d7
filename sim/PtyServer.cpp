#include "sim/PtyServer.h"
#include "sim/ServeLoop.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>

namespace sim {

namespace {

// Raw bytes both ways, 9600 baud 8N1, no modem control lines.
void MakeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        throw SystemError("tcgetattr");
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0)
        throw SystemError("tcsetattr");
}

// A master that writes requests but never reads the replies: what waits for
// it is bounded, and replies beyond that are dropped, as a modem's own
// buffer would.
constexpr std::size_t kMaxPendingBytes = 64 * 1024;

}  // namespace

PtyServer::PtyServer(ModemOptions options, LogFn log)
    : PtyServer(std::make_unique<Modem>(std::move(options)), std::move(log))
{
}

PtyServer::PtyServer(std::unique_ptr<SerialModem> modem, LogFn log) : m_Modem(std::move(modem)), m_Log(std::move(log))
{
    m_Modem->SetLog(m_Log);
}

PtyServer::~PtyServer() { Stop(); }

std::string PtyServer::Start()
{
    std::lock_guard lock(m_Mutex);
    if (m_Thread.joinable())
        return m_Path;
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        throw SystemError("posix_openpt");
    int slave = -1;
    try {
        char name[256];
        if (grantpt(master) != 0 || unlockpt(master) != 0)
            throw SystemError("grantpt/unlockpt");
        if (ptsname_r(master, name, sizeof name) != 0)
            throw SystemError("ptsname_r");
        slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0)
            throw SystemError(std::string("open ") + name);
        MakeRaw(slave);
        return StartOn(master, slave, name);
    } catch (...) {
        CloseFd(slave);
        CloseFd(master);
        throw;
    }
}

std::string PtyServer::Start(const std::string& devicePath)
{
    std::lock_guard lock(m_Mutex);
    if (m_Thread.joinable())
        return m_Path;
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw SystemError("open " + devicePath);
    try {
        if (!isatty(fd))
            throw std::runtime_error(devicePath + " is not a serial device");
        MakeRaw(fd);
        return StartOn(fd, -1, devicePath);
    } catch (...) {
        CloseFd(fd);
        throw;
    }
}

std::string PtyServer::StartOn(int fd, int holdFd, const std::string& path)
{
    m_Wake.Open();
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) != 0) {
        m_Wake.Close();
        throw SystemError("fcntl");
    }
    m_Fd = fd;
    m_HoldFd = holdFd;
    m_Path = path;
    m_Stop = false;
    m_PendingBytes = 0;
    m_Serving = true;
    m_Thread = std::thread(&PtyServer::Serve, this);
    return m_Path;
}

void PtyServer::Stop()
{
    std::lock_guard lock(m_Mutex);
    if (!m_Thread.joinable())
        return;
    m_Stop = true;
    m_Wake.Wake();
    m_Thread.join();
    CloseAll();
}

bool PtyServer::Running() const { return m_Serving; }

void PtyServer::WithDevices(const std::function<void(std::vector<Transmitter>&)>& fn)
{
    std::lock_guard lock(m_ModemMutex);
    fn(m_Modem->Answers().Devices());
}

void PtyServer::CloseAll()
{
    CloseFd(m_Fd);
    CloseFd(m_HoldFd);
    m_Wake.Close();
    m_Path.clear();
}

void PtyServer::Serve()
{
    const LoopClock clock;
    const auto log = [this](const std::string& text) {
        if (m_Log)
            m_Log(text);
    };
    std::deque<Due> queue;  // reply and burst pieces by due time
    Bytes out;              // due bytes the port has not taken yet
    std::uint8_t buffer[512];
    const auto enqueue = [&](std::vector<Chunk> chunks, std::uint64_t now) {
        for (Chunk& chunk : chunks) {
            if (m_PendingBytes + chunk.bytes.size() > kMaxPendingBytes) {
                log("reply dropped: the master does not read");
                continue;
            }
            m_PendingBytes += chunk.bytes.size();
            Due due{now + static_cast<std::uint64_t>(chunk.delayMs), std::move(chunk.bytes)};
            const auto at = std::upper_bound(queue.begin(), queue.end(), due.atMs,
                                             [](std::uint64_t t, const Due& d) { return t < d.atMs; });
            queue.insert(at, std::move(due));
        }
    };

    while (!m_Stop) {
        std::unique_lock modem(m_ModemMutex);
        std::uint64_t now = clock.NowMs();
        enqueue(m_Modem->Advance(now), now);
        while (!queue.empty() && queue.front().atMs <= now) {
            out.insert(out.end(), queue.front().bytes.begin(), queue.front().bytes.end());
            queue.pop_front();
        }
        if (!out.empty()) {
            const ssize_t written = ::write(m_Fd, out.data(), out.size());
            if (written > 0) {
                out.erase(out.begin(), out.begin() + written);
                m_PendingBytes -= static_cast<std::size_t>(written);
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                log(std::string("write failed: ") + std::strerror(errno));
                break;
            }
        }
        // Sleep until the next piece or burst frame is due.
        std::optional<std::uint64_t> wakeMs = m_Modem->NextEventMs();
        if (!queue.empty())
            wakeMs = std::min(queue.front().atMs, wakeMs.value_or(queue.front().atMs));
        int timeoutMs = -1;
        if (out.empty() && wakeMs)
            timeoutMs = *wakeMs > now ? static_cast<int>(*wakeMs - now) : 0;
        pollfd fds[2] = {{m_Fd, static_cast<short>(POLLIN | (out.empty() ? 0 : POLLOUT)), 0},
                         {m_Wake.ReadEnd(), POLLIN, 0}};
        modem.unlock();
        const int polled = ::poll(fds, 2, timeoutMs);
        modem.lock();
        if (polled < 0) {
            if (errno == EINTR)
                continue;
            log(std::string("poll failed: ") + std::strerror(errno));
            break;
        }
        if (fds[1].revents != 0)
            break;
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t got = ::read(m_Fd, buffer, sizeof buffer);
            if (got > 0) {
                now = clock.NowMs();
                enqueue(m_Modem->Feed(buffer, static_cast<std::size_t>(got), now), now);
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                log("device closed");
                break;
            }
        } else if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            log("device hung up");
            break;
        }
    }
    m_Serving = false;
}

}  // namespace sim
