// The port against a real pseudo-terminal: the test plays the device on the
// master side. Waits are bounded and run the event loop.
#include "ui/serialport/QtSerialPort.h"

#include "PseudoTerminal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <numeric>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 2000); }

class QtSerialPortOnPty : public testing::Test {
protected:
    void SetUp() override
    {
        port.SetCommPort(1);
        port.SetPortOpen(true);
        ASSERT_TRUE(port.GetPortOpen());
    }

    PseudoTerminal pty;
    QtSerialPort port{PortMap::Single(1, pty.SlavePath())};
};

// A port that cannot open throws, names itself and stays closed.
TEST_F(QtSerialPortOnPty, OpenFailsForABusyUnmappedAbsentOrNonTerminalDevice)
{
    const std::pair<std::int16_t, std::string> cases[] = {
        {1, pty.SlavePath()}, {2, pty.SlavePath()}, {1, "/dev/tamsel-no-such-device"}, {1, "/dev/null"}};
    for (const auto& [number, device] : cases) {
        QtSerialPort other(PortMap::Single(1, device));
        other.SetCommPort(number);
        try {
            other.SetPortOpen(true);
            ADD_FAILURE() << "opened " << device;
        } catch (const SerialPortError& error) {
            EXPECT_NE(std::string(error.what()).find("COM" + std::to_string(number)), std::string::npos)
                << error.what();
        }
        EXPECT_FALSE(other.GetPortOpen());
    }
    // The first port is unaffected.
    const Bytes request = Text("\x01P0182000000\r\n");
    port.SetOutput(request);
    EXPECT_EQ(pty.Read(request.size()), request);
}

TEST_F(QtSerialPortOnPty, ReplyInPiecesArrivesInOrderThroughReceiveEvents)
{
    std::vector<std::int16_t> codes;
    Bytes received;
    port.SetOnComm([&] {
        codes.push_back(port.GetCommEvent());
        port.SetInputLen(port.GetInBufferCount());  // as the receive path takes them
        const Bytes piece = port.GetInput();
        received.insert(received.end(), piece.begin(), piece.end());
    });
    Bytes reply;
    for (const char* piece : {"\x01P01", "0680000A", "0B0C\r\n"}) {
        const std::size_t eventsBefore = codes.size();
        pty.Write(Text(piece));
        reply.insert(reply.end(), piece, piece + std::strlen(piece));
        ASSERT_TRUE(WaitFor([&] { return codes.size() > eventsBefore && received.size() == reply.size(); }));
    }
    EXPECT_EQ(received, reply);
    // A pseudo-terminal keeps no line error counters: only receive events.
    EXPECT_EQ(codes, std::vector<std::int16_t>(codes.size(), CommEvent::kReceive));
}

TEST_F(QtSerialPortOnPty, InputLenCapsEachReadUntilChanged)
{
    pty.Write(Text("0123456789"));
    ASSERT_TRUE(WaitFor([&] { return port.GetInBufferCount() == 10; }));
    port.SetInputLen(4);
    EXPECT_EQ(port.GetInput(), Text("0123"));
    EXPECT_EQ(port.GetInBufferCount(), 6);
    EXPECT_EQ(port.GetInput(), Text("4567"));
    port.SetInputLen(0);
    EXPECT_EQ(port.GetInput(), Text("89"));
    EXPECT_TRUE(port.GetInput().empty());
}

TEST_F(QtSerialPortOnPty, InBufferCountStaysWithinSixteenBits)
{
    Bytes data(33000);
    std::iota(data.begin(), data.end(), std::uint8_t{7});
    pty.Write(data);
    ASSERT_TRUE(WaitFor([&] { return port.GetInBufferCount() == 32767; }));
    Bytes all;
    ASSERT_TRUE(WaitFor([&] {
        const Bytes more = port.GetInput();
        all.insert(all.end(), more.begin(), more.end());
        return all.size() >= data.size();
    }));
    EXPECT_EQ(all, data);
}

TEST_F(QtSerialPortOnPty, OutputOnlyWhileOpenAndClosingReleasesTheDevice)
{
    EXPECT_THROW(port.SetPortOpen(true), SerialPortError);
    EXPECT_TRUE(port.GetPortOpen());
    port.SetPortOpen(false);
    EXPECT_NO_THROW(port.SetPortOpen(false));
    EXPECT_FALSE(port.GetPortOpen());
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
    QtSerialPort other(PortMap::Single(1, pty.SlavePath()));
    other.SetCommPort(1);
    EXPECT_NO_THROW(other.SetPortOpen(true));
}

TEST_F(QtSerialPortOnPty, HandlerMayCloseThePort)
{
    int events = 0;
    port.SetOnComm([&] {
        ++events;
        port.SetPortOpen(false);
    });
    pty.Write(Text("first"));
    ASSERT_TRUE(WaitFor([&] { return events == 1; }));
    EXPECT_FALSE(port.GetPortOpen());
    pty.Write(Text("second"));  // raises nothing
    QTest::qWait(100);
    EXPECT_EQ(events, 1);
}

TEST_F(QtSerialPortOnPty, HangUpClosesThePort)
{
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([&] { return !port.GetPortOpen(); }));
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
}

}  // namespace
