// The HART-IP server: its session and messages byte for byte without
// sockets, then once each over real UDP and TCP sockets on the loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "sim/Console.h"
#include "sim/HartIpServer.h"

using F = sim::FaultKind;

namespace {

// Header: version, type, id, status, sequence (2), byte count (2); body.
std::string M(int type, int id, int status, int seq, const std::string& body, int version = 1)
{
    char head[17];
    std::snprintf(head, sizeof head, "%02X%02X%02X%02X%04X%04X", version, type, id, status, seq,
                  static_cast<int>(8 + body.size() / 2));
    return head + body;
}
std::string Init(int seq) { return M(0, 0, 0, seq, "0100002710"); }  // primary master, 10 s
std::string InitOk(int seq) { return M(1, 0, 0, seq, "0100002710"); }
std::string Pdu(int seq, const std::string& frame) { return M(0, 3, 0, seq, frame); }
std::string Resp(int seq, const std::string& frame, int status = 0) { return M(1, 3, status, seq, frame); }

const std::string kReq0 = "0280000082", kCmd0 = "0680000E0000FEB57C050501020800010203B4";
const std::string kPublish1 = M(2, 3, 0, 0, "81F57C010203010700000C4248000008");  // command 1, PV 50.0 kPa

std::string Hex(const std::vector<sim::Chunk>& chunks)
{
    std::string all;
    for (const sim::Chunk& c : chunks)
        all += sim::ToHex(c.bytes);
    return all;
}

struct Step {
    std::string in, out;
};
struct Row {
    const char* name;
    std::vector<sim::FaultRule> faults;
    std::vector<Step> steps;
    std::vector<int> delays = {};  // of the last step's writes; empty: not compared
    bool datagrams = false;
    int multidrop = 0;
};

// clang-format off
const Row kRows[] = {
    {"PduBeforeSessionRefused", {}, {{Pdu(7, kReq0), Resp(7, "", 16)}}},
    {"PduAnsweredWithItsSequence", {}, {{Init(1), InitOk(1)}, {Pdu(0x1234, kReq0), Resp(0x1234, kCmd0)}}, {0}},
    {"KeepAliveThenClose", {}, {{Init(1), InitOk(1)}, {M(0, 2, 0, 2, ""), M(1, 2, 0, 2, "")}, {M(0, 1, 0, 3, ""), M(1, 1, 0, 3, "")}, {Pdu(4, kReq0), Resp(4, "", 16)}}},
    {"ShortInitiate", {}, {{M(0, 0, 0, 1, "01"), M(1, 0, 5, 1, "")}}},
    {"UnknownMasterType", {}, {{M(0, 0, 0, 1, "0200002710"), M(1, 0, 2, 1, "")}}},
    {"InPiecesAndTogether", {}, {{Init(1).substr(0, 10), ""}, {Init(1).substr(10) + Pdu(2, kReq0), InitOk(1) + Resp(2, kCmd0)}}},
    {"DatagramsStandAlone", {}, {{Init(1).substr(0, 10), ""}, {Init(2), InitOk(2)}}, {}, true},
    {"RefuseSessionOnce", {{F::kRefuseSession, -1, -1, 1}}, {{Init(1), M(1, 0, 15, 1, "")}, {Pdu(2, kReq0), Resp(2, "", 16)}, {Init(3), InitOk(3)}}},
    {"WrongSequence", {{F::kWrongSequence}}, {{Init(1), InitOk(1)}, {Pdu(9, kReq0), Resp(10, kCmd0)}}},
    {"ErrorStatus", {{F::kErrorStatus}}, {{Init(1), InitOk(1)}, {Pdu(9, kReq0), Resp(9, "", 32)}}},
    {"ErrorMessage", {{F::kErrorMessage}}, {{Init(1), InitOk(1)}, {Pdu(9, kReq0), M(3, 3, 6, 9, "")}}},
    // Lost, yet acted on: the next reply carries the burst bit.
    {"LostDatagram", {{F::kLostDatagram, 109}}, {{Init(1), InitOk(1)}, {Pdu(2, "82B57C0102036D010126"), ""}, {Pdu(3, "82B57C01020301004A"), Resp(3, "86F57C010203010700000C424800000F")}}},
    {"FrameFault", {{F::kStatusOnly}}, {{Init(1), InitOk(1)}, {Pdu(2, kReq0), Resp(2, "068000024000C4")}}},
    {"SplitWrites", {{F::kSplitWrites}}, {{Init(1), InitOk(1)}, {Pdu(2, kReq0), Resp(2, kCmd0)}}, {0, 50}},
    {"JoinWrites", {{F::kJoinWrites}}, {{Init(1), InitOk(1)}, {Pdu(2, kReq0), kPublish1 + Resp(2, kCmd0)}}, {0}},
    {"MultidropAddress2Only", {}, {{Init(1), InitOk(1)}, {Pdu(2, kReq0), ""}, {Pdu(3, "0282000080"), Resp(3, "0682000E0008FEB57C050501020800010204B9")}}, {}, false, 2},
    {"BurstBefore", {{F::kBurstBefore}}, {{Init(1), InitOk(1)}, {Pdu(2, kReq0), kPublish1 + Resp(2, kCmd0)}}, {0, 150}},
};
// clang-format on

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class HartIpTest : public ::testing::TestWithParam<Row> {};

TEST_P(HartIpTest, AnswersEachMessage)
{
    sim::ModemOptions options;
    options.faults = GetParam().faults;
    options.multidrop = GetParam().multidrop;
    sim::HartIp ip(options, 1, sim::Link::kTcp);
    std::vector<int> delays;
    for (const Step& step : GetParam().steps) {
        const sim::Bytes in = sim::FromUpperHex(step.in).value();
        const auto chunks =
            GetParam().datagrams ? ip.FeedDatagram(in.data(), in.size(), 0) : ip.Feed(in.data(), in.size(), 0);
        EXPECT_EQ(Hex(chunks), step.out);
        delays.clear();
        for (const sim::Chunk& c : chunks)
            delays.push_back(c.delayMs);
    }
    EXPECT_TRUE(GetParam().delays.empty() || delays == GetParam().delays) << ::testing::PrintToString(delays);
}

INSTANTIATE_TEST_SUITE_P(HartIp, HartIpTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Publish messages every period in burst mode, in the version asked for;
// they do not keep the session alive, a keep alive does.
TEST(HartIpSessionTest, PublishesInBurstModeAndEndsWhenIdle)
{
    sim::HartIp ip({}, 2);
    const auto feed = [&ip](const std::string& hex, std::uint64_t atMs) {
        const sim::Bytes in = sim::FromUpperHex(hex).value();
        return Hex(ip.Feed(in.data(), in.size(), atMs));
    };
    EXPECT_EQ(feed(M(0, 0, 0, 1, "01000007D0"), 0), M(1, 0, 0, 1, "01000007D0"));  // closes after 2 s idle
    EXPECT_EQ(feed(Pdu(2, "82B57C0102036D010126"), 100), Resp(2, "86F57C0102036D0300000160"));
    EXPECT_EQ(ip.NextEventMs(), 600u);
    EXPECT_TRUE(Hex(ip.Advance(600))
                    .starts_with("0202030000000018"
                                 "81F57C01020301070000"));
    EXPECT_TRUE(Hex(ip.Advance(1100)).starts_with("0202030000010018"));
    EXPECT_EQ(feed(M(0, 2, 0, 3, ""), 1500), M(1, 2, 0, 3, ""));
    EXPECT_EQ(Hex(ip.Advance(3499)).size(), 4u * 2 * 0x18) << "publishes at 1600, 2100, 2600, 3100";
    EXPECT_TRUE(ip.SessionOpen() && !ip.Ended());
    EXPECT_EQ(Hex(ip.Advance(3500)), "");
    EXPECT_TRUE(!ip.SessionOpen() && ip.Ended());
    EXPECT_EQ(ip.NextEventMs(), std::nullopt);
}

// Real sockets on the loopback: the test is the client, every wait bounded.
int Connect(const std::string& url, int type)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(std::stoi(url.substr(url.rfind(':') + 1))));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, type, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return fd;
    ::close(fd);
    return -1;
}
// Sends, then reads until 'want' hex digits came, the peer closed or 2 s passed.
std::string Ask(int fd, const std::string& hex, std::size_t want)
{
    const sim::Bytes out = sim::FromUpperHex(hex).value();
    std::string got;
    if (!out.empty() && ::send(fd, out.data(), out.size(), 0) != static_cast<ssize_t>(out.size()))
        return got;
    pollfd p{fd, POLLIN, 0};
    std::uint8_t buffer[512];
    ssize_t n = 0;
    while (got.size() < want && ::poll(&p, 1, 2000) == 1 && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        got += sim::ToHex(sim::Bytes(buffer, buffer + n));
    return n == 0 ? got + "closed" : got;
}

TEST(HartIpServerTest, UdpOneSessionAtATime)
{
    EXPECT_THROW(sim::HartIpServer().Start("192.168.1.1", 0), std::runtime_error) << "loopback or any host only";
    sim::ModemOptions options;
    std::tie(options.multidrop, options.steady) = std::make_tuple(2, true);
    sim::HartIpServer server(options);
    const std::string url = server.Start("127.0.0.1", 0);
    ASSERT_TRUE(url.starts_with("hartip://127.0.0.1:")) << url;
    const int fd = Connect(url, SOCK_DGRAM), other = Connect(url, SOCK_DGRAM);
    EXPECT_EQ(Ask(fd, Init(1), 1), InitOk(1));
    EXPECT_EQ(Ask(fd, Pdu(2, "0282000080"), 1), Resp(2, "0682000E0008FEB57C050501020800010204B9"));
    // A console line for the second transmitter, between requests: PV 80.0.
    server.WithDevices([](auto& devices) { EXPECT_EQ(sim::RunConsoleLine("pressure 80 2", devices), "ok"); });
    EXPECT_EQ(Ask(fd, Pdu(3, "82B57C01020401004D"), 1), Resp(3, "86B57C010204010700080C42A00000A8"));
    EXPECT_EQ(Ask(other, Init(5), 1), M(1, 0, 15, 5, "")) << "all sessions in use";
    ::close(fd);
    ::close(other);
}

TEST(HartIpServerTest, TcpStreamWithSplitWritesAndCloseAfterSessionClose)
{
    sim::ModemOptions options;
    options.faults = {{F::kSplitWrites, sim::kAllCommands, 30}};
    sim::HartIpServer server(options, 1, {}, true);
    const std::string url = server.Start("127.0.0.1", 0);
    ASSERT_TRUE(url.starts_with("hartip+tcp://127.0.0.1:")) << url;
    const int fd = Connect(url, SOCK_STREAM);
    const std::string both = InitOk(1) + Resp(2, kCmd0);
    EXPECT_EQ(Ask(fd, Init(1) + Pdu(2, kReq0), both.size()), both);
    EXPECT_EQ(Ask(fd, M(0, 1, 0, 3, ""), 1000), M(1, 1, 0, 3, "") + "closed");
    ::close(fd);
}

}  // namespace
