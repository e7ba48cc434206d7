// The binary modem: the hunt for a request, echo, preambles, the loop's
// pace, and the faults of its own. Frames as the hex-line modem's tests
// have them, in binary.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/FskModem.h"

using F = sim::FaultKind;

namespace {

std::string Hex(const std::vector<sim::Chunk>& chunks)
{
    sim::Bytes all;
    for (const sim::Chunk& c : chunks)
        all.insert(all.end(), c.bytes.begin(), c.bytes.end());
    return sim::ToHex(all);
}
std::string Clean(std::string hex)
{
    std::erase(hex, ' ');
    return hex;
}
std::vector<sim::Chunk> Write(sim::FskModem& modem, const std::string& hex, std::uint64_t atMs = 0)
{
    const sim::Bytes bytes = sim::FromUpperHex(Clean(hex)).value();
    return modem.Feed(bytes.data(), bytes.size(), atMs);
}

const std::string kPre = "FFFFFFFFFF", kReq0 = "FFFF0280000082", kCmd0 = "0680000E0000FEB57C050501020800010203B4";
const std::string kReq1 = "FFFF82B57C01020301004A", kCmd1 = "86B57C010203010700000C424800004F";
const std::string kBurst1 = "81F57C010203010700000C4248000008";  // command 1 at time 0: PV 50.0 kPa

struct Step {
    std::string in, out;  // hex, spaces ignored
    std::uint64_t atMs = 0;
};
struct Row {
    const char* name;
    std::vector<sim::FaultRule> faults;
    sim::FskOptions fsk;
    std::vector<Step> steps;
    std::vector<int> delays = {};  // of the last step's chunks; empty: not compared
    int multidrop = 0;
};

// clang-format off
const Row kRows[] = {
    {"TwoPreamblesAreEnough", {}, {}, {{kReq0, kPre + kCmd0}}, {0}},
    {"LongFrame", {}, {}, {{kReq1, kPre + kCmd1}}},
    {"JunkAndStrayFramesSkipped", {}, {}, {{"00 55 FF 12 FF FF 06 80 FF FF FF 0280000082", kPre + kCmd0}}},
    {"OneFfIsNotEnough", {}, {}, {{"FF 0280000082", ""}, {kReq0, kPre + kCmd0}}},
    {"RequestInPieces", {}, {}, {{"FFFF02", ""}, {"800000", "", 40}, {"82", kPre + kCmd0, 90}}},
    {"PauseBreaksARequestOff", {}, {}, {{"FFFF028000", ""}, {"0082", "", 200}, {kReq0, kPre + kCmd0, 210}}},
    {"BadCheckOrOtherAddressIgnored", {}, {}, {{"FFFF0280000083", ""}, {"FFFF0281000083", ""}}},
    {"EchoFirst", {}, {.echo = true}, {{"00" + kReq0, "00" + kReq0 + kPre + kCmd0}}, {0}},
    {"EchoEvenUnanswered", {{F::kNoAnswer}}, {.echo = true}, {{kReq0, kReq0}}},
    {"ThreePreambles", {}, {.preambles = 3}, {{kReq0, "FFFFFF" + kCmd0}}},
    // 11 bits at 1200 baud: 9.17 ms a character. Each echoed byte once through; the 24 reply characters from the request's end, 64.2 ms.
    {"Paced", {}, {.echo = true, .paceBaud = 1200}, {{kReq0, kReq0 + kPre + kCmd0}}, {10, 19, 28, 37, 46, 55, 65, 74, 83, 92, 101, 110, 120, 129, 138, 147, 156, 165, 175, 184, 193, 202, 211, 220, 230, 239, 248, 257, 266, 275, 285}},
    {"JunkBefore", {{F::kJunkBefore}}, {}, {{kReq0, "00 55 FF 06 12" + kPre + kCmd0}}},
    {"StallAfterHeader", {{F::kStall}}, {}, {{kReq0, kPre + "0680000E" + "0000FEB57C050501020800010203B4"}}, {0, 150}},
    {"StallPaced", {{F::kStall, 0, 300}}, {.paceBaud = 1200}, {{kReq0, kPre + kCmd0}}, {74, 83, 92, 101, 110, 120, 129, 138, 147, 456, 465, 475, 484, 493, 502, 511, 520, 530, 539, 548, 557, 566, 575, 585}},
    {"FrameFaultsToo", {{F::kBadCheckByte}}, {}, {{kReq0, kPre + "0680000E0000FFB57C050501020800010203B4"}}},
    {"BurstBefore", {{F::kBurstBefore}}, {}, {{kReq0, kPre + kBurst1 + kPre + kCmd0}}},
    // Paced, 150 ms ahead of the reply is before the request: the burst frame starts at once, the reply after it.
    {"BurstBeforePaced", {{F::kBurstBefore}}, {.paceBaud = 1200}, {{kReq0, kPre + kBurst1 + kPre + kCmd0}}, {10, 19, 28, 37, 46, 55, 65, 74, 83, 92, 101, 110, 120, 129, 138, 147, 156, 165, 175, 184, 193, 202, 211, 220, 230, 239, 248, 257, 266, 275, 285, 294, 303, 312, 321, 330, 340, 349, 358, 367, 376, 385, 395, 404, 413}},
    {"MultidropAddress2Only", {}, {}, {{kReq0, ""}, {"FFFF0282000080", kPre + "0682000E0008FEB57C050501020800010204B9"}}, {}, 2},
    {"RepeatLate", {{F::kRepeatLate, 0}}, {}, {{kReq1, kPre + kCmd1}, {kReq0, kPre + kCmd0 + kPre + kCmd1, 1000}}, {0, 200}},
};
// clang-format on

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class FskModemTest : public ::testing::TestWithParam<Row> {};

TEST_P(FskModemTest, AnswersRawFramesAtTheirTimes)
{
    sim::ModemOptions options;
    options.faults = GetParam().faults;
    options.multidrop = GetParam().multidrop;
    sim::FskModem modem(options, GetParam().fsk);
    std::vector<int> delays;
    for (const Step& step : GetParam().steps) {
        const std::vector<sim::Chunk> chunks = Write(modem, step.in, step.atMs);
        EXPECT_EQ(Hex(chunks), Clean(step.out));
        delays.clear();
        for (const sim::Chunk& c : chunks)
            delays.push_back(c.delayMs);
    }
    EXPECT_TRUE(GetParam().delays.empty() || delays == GetParam().delays) << ::testing::PrintToString(delays);
}

INSTANTIATE_TEST_SUITE_P(Fsk, FskModemTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Burst mode: a burst frame every period after the reply, none after exit.
TEST(FskBurstTest, FramesEveryPeriodUntilExit)
{
    sim::FskModem modem;
    EXPECT_EQ(Hex(Write(modem, "FFFF 82B57C0102036D010126")), kPre + "86F57C0102036D0300000160");
    EXPECT_EQ(modem.NextEventMs(), 500u);
    EXPECT_EQ(Hex(modem.Advance(499)), "");
    EXPECT_TRUE(Hex(modem.Advance(1000)).starts_with(kPre + "81F57C01020301070000"));
    EXPECT_EQ(modem.NextEventMs(), 1500u);
    EXPECT_EQ(Hex(Write(modem, "FFFF 82B57C0102036D010027", 1200)), kPre + "86B57C0102036D0300000021");
    EXPECT_EQ(modem.NextEventMs(), std::nullopt);
}

TEST(FskAddressTest, SaysEchoAndPreamblesOnlyWhenSet)
{
    EXPECT_EQ(sim::FskAddress("/dev/pts/3", {}), "fsk:/dev/pts/3?rts=none");
    EXPECT_EQ(sim::FskAddress("/dev/pts/3", {.echo = true, .paceBaud = 1200, .preambles = 8}),
              "fsk:/dev/pts/3?rts=none&echo=1&preambles=8");
}

}  // namespace
