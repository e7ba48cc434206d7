// Reply timing of a modem on a 1200-baud HART loop. A HART byte is 11 bits
// (9.17 ms); the modem writes the line to the PC at 9600 baud, 10 bits a byte.
//
// Command 0: request 5 preambles + 5 bytes = 110 bits = 91.7 -> 92 ms;
// turnaround 20 ms; reply 5 + 19 bytes = 264 bits = 220 ms; 332 ms in all.
// The 44-byte line leaves in 4 pieces of 11 bytes, each due when its last
// byte is out: 11.5 -> 12, 22.9 -> 23, 34.4 -> 35, 45.8 -> 46 ms.
#include <gtest/gtest.h>

#include <numeric>

#include "SimTestSupport.h"

using namespace simtest;

namespace {

struct Feed {
    std::string text;
    std::uint64_t nowMs;
};

struct TimingCase {
    const char* name;
    sim::ModemOptions options;
    std::vector<Feed> feeds;
    std::vector<int> lastDelays;  // of the reply to the last feed
    std::string line;             // the reply text; empty: not checked
};

sim::ModemOptions Timed(std::vector<sim::FaultRule> faults = {})
{
    sim::ModemOptions options = Immediate(std::move(faults));
    options.immediate = false;
    return options;
}

const std::string kReq0 = Request("0280000082");
const std::vector<int> kCmd0Pieces = {344, 355, 367, 378};
const std::string kReq1 = Request("82B57C01020301004A"), kCmd1 = Reply("86B57C010203010700000C424800004F");
const std::string kBurst1 = Reply("81F57C010203010700000C4248000008");
const std::vector<int> kCmd0AndRepeat = {344, 355, 367, 378, 578};
using Fault = sim::FaultKind;

const TimingCase kCases[] = {
    {"DefaultFourPiecesGapsFarBelow100ms", Timed(), {{kReq0, 1000}}, kCmd0Pieces, Reply(kCmd0)},
    {"ImmediateAtOnceInOnePiece", Immediate(), {{kReq0, 1000}}, {0}, Reply(kCmd0)},
    // The delay counts from the last request byte.
    {"RequestInPieces", Timed(), {{kReq0.substr(0, 5), 0}, {kReq0.substr(5), 250}}, kCmd0Pieces, Reply(kCmd0)},
    // Half duplex: a request that comes while a reply is on its way waits.
    {"SecondRequestInSameWrite",
     Timed(),
     {{kReq0 + kReq0, 0}},
     {344, 355, 367, 378, 722, 733, 745, 756},
     Reply(kCmd0) + Reply(kCmd0)},
    // At 100 ms the first reply is done at 378: 278 ms to wait.
    {"SecondRequestDuringReply", Timed(), {{kReq0, 0}, {kReq0, 100}}, {622, 633, 645, 656}, Reply(kCmd0)},
    {"SecondRequestLongAfter", Timed(), {{kReq0, 0}, {kReq0, 5000}}, kCmd0Pieces, Reply(kCmd0)},
    // Command 12, the 24-byte message, the longest reply the tool asks for:
    // 9-byte request 129 ms, turnaround 20, 35-byte reply 367 ms; its 76-byte
    // line in pieces of 19 bytes at 20, 40, 60 and 80 ms.
    {"LongestReply", Timed(), {{Request("82B57C0102030C0047"), 0}}, {536, 556, 576, 596}, ""},
    // The long-gap fault: the second half held back by 150 ms by default (a
    // lone immediate piece split in two first), or by the given time.
    {"LongGapImmediate", Immediate({{sim::FaultKind::kLongGap}}), {{kReq0, 0}}, {0, 150}, Reply(kCmd0)},
    {"LongGap220",
     Timed({{sim::FaultKind::kLongGap, sim::kAllCommands, 220}}),
     {{kReq0, 0}},
     {344, 355, 587, 598},
     Reply(kCmd0)},
    // Lines around the reply: a command 1 burst frame (PV 50.0 at time 0)
    // 150 ms before it, the previous reply 200 ms after, or "00" 105 ms after.
    {"BurstBefore", Timed({{Fault::kBurstBefore}}), {{kReq0, 0}}, {194, 344, 355, 367, 378}, kBurst1 + Reply(kCmd0)},
    {"RepeatLate", Timed({{Fault::kRepeatLate, 0}}), {{kReq1, 0}, {kReq0, 5000}}, kCmd0AndRepeat, Reply(kCmd0) + kCmd1},
    {"TrailingBytes", Timed({{Fault::kTrailingBytes}}), {{kReq0, 0}}, {344, 355, 367, 378, 483}, Reply(kCmd0) + "00"},
};

void PrintTo(const TimingCase& c, std::ostream* os) { *os << c.name; }

class TimingTest : public ::testing::TestWithParam<TimingCase> {};

TEST_P(TimingTest, PiecesAreDueAtTheLoopTime)
{
    sim::Modem modem(GetParam().options);
    std::vector<sim::Chunk> chunks;
    for (const Feed& feed : GetParam().feeds)
        chunks = FeedText(modem, feed.text, feed.nowMs);
    std::vector<int> delays;
    for (const auto& c : chunks)
        delays.push_back(c.delayMs);
    EXPECT_EQ(delays, GetParam().lastDelays);
    if (!GetParam().line.empty()) {
        EXPECT_EQ(Joined(chunks), GetParam().line);
    }
}

INSTANTIATE_TEST_SUITE_P(Modem, TimingTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using TimedHex = std::vector<std::pair<std::uint64_t, std::string>>;  // time, frame hex (or how it begins)

const TimedHex kRequests = {
    {0, "82B57C0102036D010126"},     // enter burst mode
    {1346, "82B57C01020301004A"},    // command 1 just as a burst starts
    {2800, "82B57C0102036C010325"},  // burst command 3 (configuration changed)
    {4100, "82B57C0102036D010027"},  // exit burst mode
};
const TimedHex kLines = {
    {322, "86F57C0102036D030000"},     // 314 ms on the loop, pieces 8 to 32 ms: out at 346
    {1049, "81F57C01020301070000"},    // starts at 846: 193 ms on the loop, pieces 10 to 40 ms
    {1549, "81F57C01020301070000"},    // 1346, out at 1579
    {1931, "86F57C01020301070000"},    // 1579 + 342 ms on the loop + 10, out at 1961
    {2664, "81F57C01020301070000"},    // 2461
    {3122, "86F57C0102036C03004003"},  // 2800 + 314 + 8, out at 3146
    {4033, "81F57C010203031A0040"},    // 3646: 367 ms on the loop, pieces 20 to 80 ms
    {4422, "86B57C0102036D03004000"},  // 4100 + 314 + 8, and no burst after
};

// A transmitter in burst mode, played as a port would: bursts taken when due
// (one due just as a request comes left to Feed). Bursts start 500 ms after a
// reply's last piece, then every 500 ms.
TEST(BurstTimingTest, FramesEveryPeriodBetweenTheRepliesUntilExit)
{
    sim::Modem modem;
    TimedHex lines;  // a piece that starts with SOH starts a line
    const auto take = [&lines](const std::vector<sim::Chunk>& chunks, std::uint64_t nowMs) {
        for (const sim::Chunk& chunk : chunks) {
            if (chunk.bytes.at(0) == 0x01)
                lines.emplace_back(nowMs + chunk.delayMs, "");
            lines.back().second.append(chunk.bytes.begin(), chunk.bytes.end());
        }
    };
    const auto runBefore = [&](std::uint64_t t) {
        for (auto next = modem.NextEventMs(); next && *next < t; next = modem.NextEventMs())
            take(modem.Advance(*next), *next);
    };
    for (const auto& [atMs, frame] : kRequests) {
        runBefore(atMs);
        take(FeedText(modem, Request(frame), atMs), atMs);
    }
    runBefore(10000);
    ASSERT_EQ(lines.size(), kLines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& [atMs, text] = lines[i];
        const auto frame = sim::FromUpperHex(text.substr(4, text.size() - 6)).value_or(sim::Bytes{1});
        const int check = std::accumulate(frame.begin(), frame.end(), 0, [](int a, std::uint8_t b) { return a ^ b; });
        EXPECT_TRUE(atMs == kLines[i].first && text.starts_with("\x01P00" + kLines[i].second) && check == 0)
            << atMs << " ms: " << text;
    }
}

}  // namespace
