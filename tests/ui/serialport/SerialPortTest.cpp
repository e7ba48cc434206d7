// The serial port on Qt: which device stands behind each port number, the line
// errors the driver counts, and the port against a pseudo-terminal on whose
// master side the test plays the device.
#include "ui/serialport/LineErrorCounters.h"
#include "ui/serialport/PortMap.h"
#include "ui/serialport/QtSerialPort.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <sstream>

#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Env = PortMap::Environment;
using Devices = std::vector<std::string>;

// Ports and their devices as "1=/dev/x 2=/dev/y".
std::string Describe(const PortMap& map)
{
    std::string s;
    for (const int port : map.Ports())
        s += (s.empty() ? "" : " ") + std::to_string(port) + "=" + map.DeviceFor(port).value_or("?");
    return s;
}

TEST(PortMap, VariablesDefineExactlyTheirPortsOrTheSystemsDevicesAreNumbered)
{
    bool asked = false;
    const auto system = [&asked] { return asked = true, Devices{"/dev/ttyUSB1", "/dev/ttyACM0"}; };
    const Env env{{"TAMSEL_COM3", "/dev/ttyUSB0"}, {"TAMSEL_COM5", "/dev/pts/7"}, {"TAMSEL_COM1", ""}, {"HOME", "/"}};
    EXPECT_EQ(Describe(PortMap::Load(env, system)), "3=/dev/ttyUSB0 5=/dev/pts/7");
    EXPECT_EQ(Describe(PortMap::Load(Env{{"TAMSEL_COM2", ""}}, system)), "") << "empty: no such port";
    EXPECT_FALSE(asked) << "no system enumeration";
    for (const char* v : {"TAMSEL_COM0", "TAMSEL_COM17", "TAMSEL_COM03", "tamsel_com3", "XTAMSEL_COM3", "TAMSEL_COM3 "})
        EXPECT_EQ(Describe(PortMap::Load(Env{{v, "/dev/ttyUSB9"}}, system)), "1=/dev/ttyACM0 2=/dev/ttyUSB1") << v;
    // Without variables the system's devices are numbered in name order, 16 at most.
    EXPECT_EQ(Describe(PortMap::FromDevices({"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyACM0"})),
              "1=/dev/ttyACM0 2=/dev/ttyACM1 3=/dev/ttyUSB0");
    EXPECT_EQ(Describe(PortMap::FromDevices({"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1", "", "/dev/ttyS1"})),
              "1=/dev/ttyS1 2=/dev/ttyS2 3=/dev/ttyS10")
        << "digits by value; blanks and duplicates once";
    Devices many;
    for (int n = 20; n >= 0; --n)
        many.push_back("/dev/ttyS" + std::to_string(n));
    EXPECT_EQ(PortMap::FromDevices(many).Ports().back(), 16);
    EXPECT_EQ(PortMap::FromDevices(many).DeviceFor(16), "/dev/ttyS15");
    EXPECT_THROW(PortMap().Set(17, "/dev/x"), std::out_of_range);
}

// The environment wins over the saved values; a value that cannot be read
// leaves its port out, with one line saying why.
TEST(PortMap, AnUnreadableValueIsLeftOutWithOneLine)
{
    const auto none = [] { return Devices{}; };
    std::ostringstream warnings;
    const Env env{{"TAMSEL_COM1", "fsk:/dev/ttyUSB0?rts=low"},
                  {"TAMSEL_COM2", "fsk:/dev/ttyUSB1?rts=up"},
                  {"TAMSEL_COM4", "hartip://gw:5094"}};
    const PortMap map = PortMap::Load(env, none, {{7, "/dev/ttyS0"}}, &warnings);
    EXPECT_EQ(Describe(map), "1=fsk:/dev/ttyUSB0?rts=low 4=hartip://gw:5094");
    EXPECT_EQ(warnings.str(),
              "tamsel: COM2 (fsk:/dev/ttyUSB1?rts=up) is left out: rts must be high, low or none, not \"up\"\n");
    EXPECT_EQ(map.SettingsFor(4)->kind, LinkKind::HartIpUdp);
    EXPECT_EQ(Describe(PortMap::Load({}, none, {{7, "/dev/ttyS0"}})), "7=/dev/ttyS0") << "saved, without variables";
}

// One event per error, in code order, at most sixteen a read; counters wrap.
TEST(LineErrors, OneEventPerCountedError)
{
    const auto events = [](LineErrorCounts before, LineErrorCounts after) {  // frame, overrun, parity, buffer
        namespace E = CommEvent;
        const std::map<std::int16_t, char> letter = {
            {E::kFrameError, 'F'}, {E::kOverrun, 'O'}, {E::kRxOverflow, 'B'}, {E::kParityError, 'P'}};
        std::string s;
        for (const std::int16_t code : LineErrorEvents(before, after))
            s += letter.at(code);
        return s;
    };
    EXPECT_EQ(events({5, 6, 7, 8}, {5, 6, 7, 8}), "");
    EXPECT_EQ(events({1, 1, 1, 1}, {2, 2, 2, 2}), "FOBP");
    EXPECT_EQ(events({0, 0, 10, 3}, {0, 0, 12, 4}), "BPP");
    EXPECT_EQ(events({0xFFFFFFFFu, 0, 0, 0}, {1, 0, 0, 0}), "FF");
    EXPECT_EQ(events({0, 0, 0, 0}, {10, 0, 9, 0}), "FFFFFFFFFFPPPPPP");
}

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// What opening a port says: "opened" or the error.
std::string Open(QtSerialPort& port)
{
    try {
        port.SetPortOpen(true);
    } catch (const SerialPortError& error) {
        return error.what();
    }
    return "opened";
}

// The device's side of the line: the master of a pseudo-terminal, whose slave
// the port opens. Reads run the event loop, so that the port takes its part.
class QtSerialPortOnPty : public testing::Test {
protected:
    void SetUp() override
    {
        termios raw{};  // every byte passes unchanged
        ASSERT_TRUE(!slave.empty() && ::tcgetattr(master, &raw) == 0) << "no pseudo-terminal";
        ::cfmakeraw(&raw);
        ::tcsetattr(master, TCSANOW, &raw);
        ASSERT_EQ(Open(port), "opened");
    }
    void TearDown() override { HangUp(); }
    void HangUp()
    {
        if (master >= 0)
            ::close(std::exchange(master, -1));
    }
    void Write(const std::string& text)
    {
        ASSERT_EQ(::write(master, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // What arrives within two seconds, up to count bytes.
    Bytes Read(std::size_t count)
    {
        Bytes bytes(count);
        std::size_t done = 0;
        (void)QTest::qWaitFor(
            [&] { return (done += std::max<ssize_t>(::read(master, &bytes[done], count - done), 0)) == count; }, 2000);
        bytes.resize(done);
        return bytes;
    }

    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    const char* name = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : nullptr;
    std::string slave = name ? name : "";
    QtSerialPort port{PortMap::Single(1, slave)};
};

// A port that cannot open says which and stays closed; the open one is unaffected.
TEST_F(QtSerialPortOnPty, OpenFailsForABusyUnmappedAbsentOrNonTerminalDevice)
{
    const std::pair<std::int16_t, std::string> cases[] = {
        {1, slave}, {2, slave}, {1, "/dev/tamsel-no-such-device"}, {1, "/dev/null"}};
    for (const auto& [number, device] : cases) {
        QtSerialPort other(PortMap::Single(1, device));
        other.SetCommPort(number);
        EXPECT_NE(Open(other).find("COM" + std::to_string(number)), std::string::npos) << device;
        EXPECT_FALSE(other.GetPortOpen());
    }
    EXPECT_NE(Open(port), "opened") << "already open";
    port.SetOutput(Text("\x01P0182000000\r\n"));
    EXPECT_EQ(Read(14), Text("\x01P0182000000\r\n"));
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
    std::string reply;
    for (const char* piece : {"\x01P01", "0680000A", "0B0C\r\n"}) {
        const std::size_t eventsBefore = codes.size();
        Write(piece);
        reply += piece;
        ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() > eventsBefore && received.size() == reply.size(); }));
    }
    EXPECT_EQ(received, Text(reply));
    // A pseudo-terminal keeps no line error counters: only receive events.
    EXPECT_EQ(codes, std::vector<std::int16_t>(codes.size(), CommEvent::kReceive));
}

// Closed by its handler on the first event, the port raises nothing more and
// frees the device; a hang-up closes a port too.
TEST_F(QtSerialPortOnPty, HandlerOrHangUpClosesThePort)
{
    int events = 0;
    port.SetOnComm([&] {
        ++events;
        port.SetPortOpen(false);
    });
    Write("first");
    ASSERT_TRUE(QTest::qWaitFor([&] { return events == 1; }));
    EXPECT_FALSE(port.GetPortOpen());
    EXPECT_THROW(port.SetOutput(Text("x")), SerialPortError);
    QtSerialPort other(PortMap::Single(1, slave));
    ASSERT_EQ(Open(other), "opened");
    Write("second");
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.GetInBufferCount() == 6; }));
    EXPECT_EQ(events, 1);
    HangUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !other.GetPortOpen(); }));
}

// Opened and closed outside any event, as a script of the command line does:
// each close frees its socket, though no loop runs deferred deletes.
TEST(QtSerialPortOnHartIp, OpensAndClosesOutsideTheLoopKeepNoSockets)
{
    if (mallinfo2().uordblks == 0)
        GTEST_SKIP() << "no heap figures under a sanitizer";
    QtSerialPort port(PortMap::Single(1, "hartip://127.0.0.1:5094"));  // UDP: opens without a gateway
    // The heap once Qt has made its own state.
    std::size_t before = 0;
    for (int i = 0; i < 400; ++i, port.SetPortOpen(false)) {
        ASSERT_EQ(Open(port), "opened");
        before = i == 200 ? mallinfo2().uordblks : before;
    }
    EXPECT_LT(mallinfo2().uordblks, before + 64 * 1024) << "a socket is kept per close";
}

// A handler that closes the port on a receive event, and a gateway that hangs
// up: either closes while the socket's own event is handled.
TEST(QtSerialPortOnHartIp, HandlerOrHangUpClosesAGatewayPort)
{
    QTcpServer gateway;
    ASSERT_TRUE(gateway.listen(QHostAddress::LocalHost));
    QtSerialPort port(PortMap::Single(1, "hartip+tcp://127.0.0.1:" + std::to_string(gateway.serverPort())));
    std::vector<std::int16_t> events;
    port.SetOnComm([&] {
        events.push_back(port.GetCommEvent());
        port.SetPortOpen(false);
    });
    for (const bool hangUp : {false, true}) {
        ASSERT_EQ(Open(port), "opened");
        ASSERT_TRUE(QTest::qWaitFor([&] { return gateway.hasPendingConnections(); }));
        QTcpSocket* peer = gateway.nextPendingConnection();
        hangUp ? peer->disconnectFromHost() : void(peer->write("x"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !port.GetPortOpen(); }));
    }
    EXPECT_EQ(events, (std::vector<std::int16_t>{CommEvent::kReceive, CommEvent::kDeviceLost}));
}

}  // namespace

// The port needs a running application object for its notifiers and events.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
