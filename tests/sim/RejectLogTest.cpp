// Junk on a serial modem's port, a thousand rejected pieces a millisecond
// apart each second on the modem's own clock: the log keeps a few a second,
// cut to their first bytes, and counts the rest once their second is over.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <memory>

#include "sim/FskModem.h"
#include "sim/HartIp.h"
#include "sim/Modem.h"

namespace {

struct Flood {
    const char* name;
    std::function<std::unique_ptr<sim::SerialModem>()> make;
    std::string junk;           // one rejected piece
    std::string shown;          // how the log shows it
    std::string ordinary;       // a short rejected piece after the flood...
    std::string ordinaryShown;  // ...shown whole
    std::string noun;
};

const Flood kFloods[] = {
    {"HexLine", [] { return std::make_unique<sim::Modem>(); }, "\x01Q" + std::string(996, 'q') + "\r\n",
     "ignored <SOH>Q" + std::string(78, 'q') + "... (1000 bytes): bad head", "\x01P01ZZ\r\n",
     "ignored <SOH>P01ZZ<CR><LF>: not upper-case hex", "lines"},
    {"Fsk", [] { return std::make_unique<sim::FskModem>(); }, std::string("\xFF\xFF\x02\x80\0\0\0", 7),
     "ignored 0280000000: bad checksum", std::string("\xFF\xFF\x02\x80\0\0\0", 7), "ignored 0280000000: bad checksum",
     "frames"},
};

void PrintTo(const Flood& flood, std::ostream* os) { *os << flood.name; }

class RejectFloodTest : public ::testing::TestWithParam<Flood> {};

TEST_P(RejectFloodTest, LogsFiveAPieceASecondCutAndCountsTheRestAtTheSecondsEnd)
{
    const Flood& flood = GetParam();
    const auto modem = flood.make();
    std::uint64_t now = 0;
    std::vector<std::string> lines;
    std::map<std::uint64_t, std::size_t> bytesPerSecond;
    modem->SetLog([&](const std::string& line) {
        lines.push_back(line);
        bytesPerSecond[now / 1000] += line.size() + 1;
    });
    const auto feed = [&](const std::string& s) {
        modem->Feed(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), now);
    };
    const auto count = [&](std::uint64_t second, int n) {
        return flood.noun + " ignored from " + std::to_string(second * 1000) + " to " +
               std::to_string(second * 1000 + 1000) + " ms and not shown: " + std::to_string(n);
    };
    for (; now < 5000; ++now)
        feed(flood.junk);
    ASSERT_EQ(modem->NextEventMs(), 5000u) << "the last second's count is due at its end";
    modem->Advance(now);
    EXPECT_EQ(lines.back(), count(4, 995));
    // After a quiet spell, five show again, whole when short.
    now = 10000;
    for (int i = 0; i < 6; ++i)
        feed(flood.ordinary);
    modem->Advance(11000);
    EXPECT_EQ(lines.end()[-2], flood.ordinaryShown);

    std::vector<std::string> counts, expected;
    for (std::uint64_t s = 0; s < 5; ++s) {
        EXPECT_LE(bytesPerSecond[s], 2048u) << "second " << s;
        expected.push_back(count(s, 995));
    }
    expected.push_back(count(10, 1));
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(counts),
                 [](const std::string& l) { return l.find(" not shown: ") != std::string::npos; });
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(lines.front(), flood.shown);
}

INSTANTIATE_TEST_SUITE_P(Sim, RejectFloodTest, ::testing::ValuesIn(kFloods),
                         [](const auto& info) { return std::string(info.param.name); });

// Over HART-IP: datagrams that are no request, each a kilobyte long.
TEST(RejectFlood, HartIpLogsAFewMessagesASecondCutAndCountsTheRest)
{
    sim::HartIp gateway;
    std::vector<std::string> lines;
    gateway.SetLog([&](const std::string& line) { lines.push_back(line); });
    sim::Bytes response(1000, 0);
    response[0] = 1;  // version 1, a response, byte count 1000
    response[1] = 1;
    response[6] = 0x03;
    response[7] = 0xE8;
    for (std::uint64_t now = 0; now < 1000; ++now)
        gateway.FeedDatagram(response.data(), response.size(), now);
    ASSERT_EQ(gateway.NextEventMs(), 1000u);
    gateway.Advance(1000);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front(), "ignored 01010000000003E8" + std::string(144, '0') + "... (1000 bytes): not a request");
    EXPECT_EQ(lines.back(), "messages ignored from 0 to 1000 ms and not shown: 995");
}

}  // namespace
