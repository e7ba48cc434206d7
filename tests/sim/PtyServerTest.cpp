// The server on a real pseudo-terminal: the test plays the master program
// with plain POSIX calls and bounded waits.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "SimTestSupport.h"
#include "sim/PtyServer.h"

using namespace simtest;

namespace {

constexpr int kWaitMs = 2000;

int OpenRaw(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd >= 0 && tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Writes the request, then reads until CR LF; every wait for a piece is bounded.
std::string Ask(int fd, const std::string& request)
{
    std::string line;
    if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        return line;
    }
    pollfd p{fd, POLLIN, 0};
    char buffer[128];
    while (!line.ends_with("\r\n") && ::poll(&p, 1, kWaitMs) == 1) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line;
}

TEST(PtyServerTest, AnswersCommand0OnThePseudoTerminalAndRestarts)
{
    std::vector<std::string> log;
    auto server =
        std::make_unique<sim::PtyServer>(sim::ModemOptions{}, [&log](const std::string& line) { log.push_back(line); });
    const std::string path = server->Start();
    EXPECT_TRUE(path.starts_with("/dev/pts/")) << path;
    EXPECT_EQ(server->Start(), path);  // already running: same device

    int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(Ask(fd, Request("0280000082")), Reply(kCmd0));
    // At loop speed the reply takes about 378 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300));
    ::close(fd);
    server->Stop();
    server->Stop();  // harmless twice
    EXPECT_FALSE(server->Running());
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[0].find("0280000082"), std::string::npos);

    fd = OpenRaw(server->Start());
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(server->Running());
    server.reset();  // joins the thread and closes the master side
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, kWaitMs), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);
    ::close(fd);
}

// A second pseudo-terminal stands in for a serial port: the server gets its
// slave, the test plays the master program on the other side.
TEST(PtyServerTest, ServesAGivenDevice)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    char name[256];
    ASSERT_TRUE(grantpt(master) == 0 && unlockpt(master) == 0 && ptsname_r(master, name, sizeof name) == 0);
    sim::PtyServer server(Immediate());
    EXPECT_EQ(server.Start(name), name);
    EXPECT_EQ(Ask(master, Request("0280000082")), Reply(kCmd0));
    ::close(master);  // the device goes away: the server stops by itself
    for (int i = 0; i < 100 && server.Running(); ++i)
        ::poll(nullptr, 0, 20);
    EXPECT_FALSE(server.Running());
    server.Stop();

    EXPECT_THROW(server.Start("/nonexistent/tty"), std::runtime_error);
    EXPECT_THROW(server.Start("/dev/null"), std::runtime_error) << "not a terminal";
    EXPECT_FALSE(server.Running());
}

TEST(PtyServerTest, AMasterThatNeverReadsCannotGrowTheServer)
{
    sim::PtyServer server(Immediate(), [](const std::string&) {});
    const int fd = OpenRaw(server.Start());
    ASSERT_GE(fd, 0);
    const std::string request = Request("0280000082");
    for (int i = 0; i < 4000; ++i)
        ASSERT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    ::poll(nullptr, 0, 300);
    EXPECT_LE(server.PendingBytes(), 64u * 1024u);
    EXPECT_GT(server.PendingBytes(), 0u);
    ::close(fd);
}

}  // namespace
