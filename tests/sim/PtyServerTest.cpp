// The server on a real pseudo-terminal: a master program opens the device
// with plain POSIX calls and talks to the simulator through it.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "SimTestSupport.h"
#include "sim/PtyServer.h"

using simtest::Reply;
using simtest::Request;

namespace {

constexpr int kWaitMs = 2000;

int OpenRaw(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Reads until CR LF or until the bounded wait runs out.
std::string ReadLine(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buffer[128];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line;
}

bool WriteAll(int fd, const std::string& text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

const std::string kCmd0Reply = Reply("0680000E0000FEB57C050501020800010203B4");

TEST(PtyServerTest, AnswersCommand0OnThePseudoTerminal) {
    std::vector<std::string> log;
    sim::PtyServer server({}, [&log](const std::string& line) { log.push_back(line); });
    const std::string path = server.Start();
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    EXPECT_TRUE(server.Running());

    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(WriteAll(fd, Request("0280000082")));
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadLine(fd), kCmd0Reply);
    // At loop speed the reply takes about 378 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300));
    ::close(fd);
    server.Stop();
    EXPECT_FALSE(server.Running());
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[0].find("0280000082"), std::string::npos);
}

TEST(PtyServerTest, RequestWrittenInPiecesAndServerRestarts) {
    sim::PtyServer server(simtest::Immediate());
    const std::string first = server.Start();
    EXPECT_EQ(server.Start(), first);  // already running: same device
    server.Stop();
    server.Stop();  // harmless twice

    const int fd = OpenRaw(server.Start());
    ASSERT_GE(fd, 0);
    // Command 15: its reply does not depend on the time the server has run.
    const std::string request = Request("82B57C0102030F0044");
    ASSERT_TRUE(WriteAll(fd, request.substr(0, 7)));
    ::usleep(20000);  // a real pause between the pieces on the wire
    ASSERT_TRUE(WriteAll(fd, request.substr(7)));
    EXPECT_EQ(ReadLine(fd), Reply("86B57C0102030F13000000000C42C80000000000003F00000000B55F"));
    ::close(fd);
}

TEST(PtyServerTest, ServesAGivenDevice) {
    // A second pseudo-terminal stands in for a serial port: the server gets
    // its slave, the test plays the master program on the other side.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    char name[256];
    ASSERT_EQ(ptsname_r(master, name, sizeof name), 0);

    sim::PtyServer server(simtest::Immediate());
    EXPECT_EQ(server.Start(name), name);
    ASSERT_TRUE(WriteAll(master, Request("0280000082")));
    EXPECT_EQ(ReadLine(master), kCmd0Reply);
    server.Stop();
    ::close(master);
}

TEST(PtyServerTest, MissingDeviceThrows) {
    sim::PtyServer server;
    EXPECT_THROW(server.Start("/nonexistent/tty"), std::runtime_error);
    EXPECT_FALSE(server.Running());
}

TEST(PtyServerTest, DestructorStopsAndClosesTheDevice) {
    auto server = std::make_unique<sim::PtyServer>();
    const int fd = OpenRaw(server->Start());
    ASSERT_GE(fd, 0);
    server.reset();  // joins the thread and closes the master side
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, kWaitMs), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);
    ::close(fd);
}

}  // namespace
