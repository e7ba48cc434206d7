// Reply timing of a modem on a 1200-baud HART loop. A HART byte is 11 bits
// (9.17 ms); the modem writes the line to the PC at 9600 baud, 10 bits a byte.
//
// Command 0: request 5 preambles + 5 bytes = 110 bits = 91.7 -> 92 ms;
// turnaround 20 ms; reply 5 + 19 bytes = 264 bits = 220 ms; 332 ms in all.
// The 44-byte line leaves in 4 pieces of 11 bytes, each due when its last
// byte is out: 11.5 -> 12, 22.9 -> 23, 34.4 -> 35, 45.8 -> 46 ms.
#include <gtest/gtest.h>

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

}  // namespace
