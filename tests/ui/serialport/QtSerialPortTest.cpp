// The port against a real pseudo-terminal: the test plays the device on the
// master side. Waits are bounded and run the event loop.
#include "ui/serialport/QtSerialPort.h"

#include "PseudoTerminal.h"

#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWaitMs = 2000;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class QtSerialPortOnPty : public testing::Test {
protected:
    void Open()
    {
        port.SetCommPort(1);
        port.SetPortOpen(true);
    }

    // Records each event's code; on a receive event takes the waiting bytes
    // the way the receive path does.
    void CollectOnReceive()
    {
        port.SetOnComm([this] {
            const std::int16_t code = port.GetCommEvent();
            codes.push_back(code);
            if (code != CommEvent::kReceive)
                return;
            port.SetInputLen(port.GetInBufferCount());
            const Bytes piece = port.GetInput();
            received.insert(received.end(), piece.begin(), piece.end());
        });
    }

    bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kWaitMs); }

    PseudoTerminal pty;
    QtSerialPort port{PortMap::Single(1, pty.SlavePath())};
    std::vector<std::int16_t> codes;
    Bytes received;
};

TEST_F(QtSerialPortOnPty, OutputReachesTheDevice)
{
    Open();
    ASSERT_TRUE(port.GetPortOpen());
    const Bytes request = Text("\x01P0182000000\r\n");
    port.SetOutput(request);
    EXPECT_EQ(pty.Read(request.size()), request);
}

TEST_F(QtSerialPortOnPty, ReplyInPiecesArrivesInOrderThroughReceiveEvents)
{
    CollectOnReceive();
    Open();
    const std::vector<Bytes> pieces = {Text("\x01P01"), Text("0680000A"), Text("0B0C\r\n")};
    Bytes reply;
    for (const Bytes& piece : pieces) {
        const std::size_t eventsBefore = codes.size();
        pty.Write(piece);
        reply.insert(reply.end(), piece.begin(), piece.end());
        ASSERT_TRUE(WaitFor([&] { return codes.size() > eventsBefore && received.size() == reply.size(); }));
    }
    EXPECT_EQ(received, reply);
    EXPECT_GE(codes.size(), pieces.size());
    // A pseudo-terminal keeps no line error counters: only receive events.
    for (const std::int16_t code : codes)
        EXPECT_EQ(code, CommEvent::kReceive);
    EXPECT_EQ(port.GetInBufferCount(), 0);
}

TEST_F(QtSerialPortOnPty, InputLenCapsEachReadUntilChanged)
{
    Open();
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
    Open();
    Bytes data(33000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7);
    pty.Write(data);
    ASSERT_TRUE(WaitFor([&] { return port.GetInBufferCount() == 32767; }));
    Bytes all = port.GetInput();
    EXPECT_GE(all.size(), 32767u);
    ASSERT_TRUE(WaitFor([&] {
        const Bytes more = port.GetInput();
        all.insert(all.end(), more.begin(), more.end());
        return all.size() >= data.size();
    }));
    EXPECT_EQ(all, data);
}

TEST_F(QtSerialPortOnPty, SecondPortOnTheSameDeviceCannotOpen)
{
    Open();
    QtSerialPort other(PortMap::Single(1, pty.SlavePath()));
    other.SetCommPort(1);
    EXPECT_THROW(other.SetPortOpen(true), SerialPortError);
    EXPECT_FALSE(other.GetPortOpen());
    // The first one is unaffected.
    ASSERT_TRUE(port.GetPortOpen());
    port.SetOutput(Text("ok"));
    EXPECT_EQ(pty.Read(2), Text("ok"));
}

TEST_F(QtSerialPortOnPty, OpenCloseAndOutputFollowTheState)
{
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
    Open();
    EXPECT_THROW(port.SetPortOpen(true), SerialPortError);
    EXPECT_TRUE(port.GetPortOpen());
    port.SetPortOpen(false);
    EXPECT_NO_THROW(port.SetPortOpen(false));
    EXPECT_FALSE(port.GetPortOpen());
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
    // Closing released the device.
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
    Open();
    pty.Write(Text("first"));
    ASSERT_TRUE(WaitFor([&] { return events == 1; }));
    EXPECT_FALSE(port.GetPortOpen());
    // Bytes after the close raise nothing.
    pty.Write(Text("second"));
    QTest::qWait(100);
    EXPECT_EQ(events, 1);
}

TEST_F(QtSerialPortOnPty, HangUpClosesThePort)
{
    Open();
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([&] { return !port.GetPortOpen(); }));
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
}

struct OpenFailure {
    const char* name;
    std::int16_t port;
    std::string device; // for port 1; empty: the test's pty
};

class QtSerialPortOpenFailure : public testing::TestWithParam<OpenFailure> {};

TEST_P(QtSerialPortOpenFailure, ThrowsAndStaysClosed)
{
    PseudoTerminal pty;
    const std::string device = GetParam().device.empty() ? pty.SlavePath() : GetParam().device;
    QtSerialPort port(PortMap::Single(1, device));
    port.SetCommPort(GetParam().port);
    try {
        port.SetPortOpen(true);
        FAIL() << "opened";
    } catch (const SerialPortError& error) {
        EXPECT_NE(std::string(error.what()).find("COM" + std::to_string(GetParam().port)), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(port.GetPortOpen());
}

INSTANTIATE_TEST_SUITE_P(Rows, QtSerialPortOpenFailure,
                         testing::Values(OpenFailure{"UnmappedNumber", 2, ""}, OpenFailure{"PortZero", 0, ""},
                                         OpenFailure{"PortSeventeen", 17, ""},
                                         OpenFailure{"NoSuchDevice", 1, "/dev/tamsel-no-such-device"},
                                         OpenFailure{"NotATerminal", 1, "/dev/null"}),
                         [](const testing::TestParamInfo<OpenFailure>& info) { return std::string(info.param.name); });

} // namespace
