// Each fault switch changes exactly what it names. Expected lines are the
// clean reply with that one change applied by hand (check byte included).
// The faults that change only timing or add lines: see the timing tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestSupport.h"

using namespace simtest;
using sim::FaultKind;
using sim::kAllCommands;

namespace {

struct FaultCase {
    const char* name;
    std::vector<sim::FaultRule> rules;
    std::vector<Step> steps;
};

const std::string kCmd0Lower = "\x01P000680000e0000feb57c050501020800010203b4\r";
const std::string kWriteDamping2s = "82B57C0102032204400000002D";
const std::string kReadCmd15 = "82B57C0102030F0044";
const std::string kCmd15 = "86B57C0102030F13000000000C42C80000000000003F00000000B55F";

const FaultCase kCases[] = {
    {"NoAnswer", {{FaultKind::kNoAnswer}}, {{"0280000082", ""}}},
    {"LetterX", {{FaultKind::kLetterX}}, {{"0280000082", "\x01X00" + kCmd0 + "\r\n"}}},
    {"LetterR", {{FaultKind::kLetterR}}, {{"0280000082", "\x01R00" + kCmd0 + "\r\n"}}},
    {"LetterW", {{FaultKind::kLetterW}}, {{"0280000082", "\x01W00" + kCmd0 + "\r\n"}}},
    {"LowerCaseHex", {{FaultKind::kLowerCaseHex}}, {{"0280000082", kCmd0Lower + "\n"}}},
    {"MissingLf", {{FaultKind::kMissingLf}}, {{"0280000082", "\x01P00" + kCmd0 + "\r"}}},
    // Byte count 0D and the last data byte gone.
    {"ShortCount", {{FaultKind::kShortCount}}, {{"0280000082", Reply("0680000D0000FEB57C0505010208000102B4")}}},
    // Byte count 0E + 4, bytes unchanged.
    {"LongCount", {{FaultKind::kLongCount}}, {{"0280000082", Reply("068000120000FEB57C050501020800010203A8")}}},
    // Response code 64, device status, nothing else.
    {"StatusOnly", {{FaultKind::kStatusOnly}}, {{"0280000082", Reply("068000024000C4")}}},
    {"ResponseCode16",
     {{FaultKind::kResponseCode, kAllCommands, 16}},
     {{"0280000082", Reply("0680000E1000FEB57C050501020800010203A4")}}},
    {"BurstBit", {{FaultKind::kBurstBit}}, {{"0280000082", Reply("06C0000E0000FEB57C050501020800010203F4")}}},
    // Command 15: alarm, transfer function and write protection set to 254.
    {"BadEchoCmd15",
     {{FaultKind::kBadEcho}},
     {{kReadCmd15, Reply("86B57C0102030F130000FEFE0C42C80000000000003F000000FEB5A1")}}},
    // Command 44 echo: the unit byte.
    {"BadEchoCmd44", {{FaultKind::kBadEcho, 44, 3}}, {{"82B57C0102032C010660", Reply("86B57C0102032C0300400323")}}},
    // Command 0 carries no setting or unit code: nothing to bend.
    {"BadEchoCmd0Unchanged", {{FaultKind::kBadEcho}}, {{"0280000082", Reply(kCmd0)}}},
    // Command 1: unit code 32 instead of 12.
    {"BadUnitCmd1", {{FaultKind::kBadUnit}}, {{"82B57C01020301004A", Reply("86B57C01020301070000204248000063")}}},
    // First data byte FE -> FF, check byte B4 kept.
    {"BadCheckByte", {{FaultKind::kBadCheckByte}}, {{"0280000082", Reply("0680000E0000FFB57C050501020800010203B4")}}},
    {"OtherCommand", {{FaultKind::kOtherCommand}}, {{"0280000082", Reply("0680010E0000FEB57C050501020800010203B5")}}},
    // Short frame: polling address 1; long frame: device id 01 02 02.
    {"OtherAddress",
     {{FaultKind::kOtherAddress}},
     {{"0280000082", Reply("0681000E0000FEB57C050501020800010203B5")},
      {"82B57C01020301004A", Reply("86B57C010202010700000C424800004E")}}},
    // A rule for command 1 leaves command 0 alone.
    {"OtherCommandUntouched", {{FaultKind::kLetterX, 1}}, {{"0280000082", Reply(kCmd0)}}},
    {"FaultsCombine", {{FaultKind::kLowerCaseHex}, {FaultKind::kMissingLf}}, {{"0280000082", kCmd0Lower}}},
    {"TimesLimitsTheSpoiledReplies",
     {{FaultKind::kNoAnswer, kAllCommands, -1, 2}},
     {{"0280000082", ""}, {"0280000082", ""}, {"0280000082", Reply(kCmd0)}}},
    // A lost request or a command the device lacks does not change the
    // damping: command 15 still reads 0.5 s.
    {"LostWriteNotActedOn", {{FaultKind::kNoAnswer, 34}}, {{kWriteDamping2s, ""}, {kReadCmd15, Reply(kCmd15)}}},
    {"StatusOnlyWriteNotActedOn",
     {{FaultKind::kStatusOnly, 34}},
     {{kWriteDamping2s, Reply("86B57C010203220240002F")}, {kReadCmd15, Reply(kCmd15)}}},
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultSwitchTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultSwitchTest, ChangesExactlyWhatItNames)
{
    sim::Modem modem(Immediate(GetParam().rules));
    Converse(modem, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSwitchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Replies to command 0 with random faults from a pool of two.
std::vector<std::string> RandomRun(double rate, std::uint32_t seed, int requests)
{
    sim::ModemOptions options = Immediate();
    options.randomFaultRate = rate;
    options.randomFaults = {FaultKind::kLetterX, FaultKind::kNoAnswer};
    options.seed = seed;
    sim::Modem modem(options);
    std::vector<std::string> replies;
    for (int i = 0; i < requests; ++i)
        replies.push_back(Exchange(modem, "0280000082"));
    return replies;
}

TEST(FaultRandomTest, SeedRepeatsAndRateDecidesHowManyAreSpoiled)
{
    EXPECT_EQ(RandomRun(0.3, 7, 60), RandomRun(0.3, 7, 60));
    EXPECT_NE(RandomRun(0.3, 7, 60), RandomRun(0.3, 8, 60));
    const auto clean = [](const std::vector<std::string>& replies) {
        return std::count(replies.begin(), replies.end(), Reply(kCmd0));
    };
    EXPECT_EQ(clean(RandomRun(0.0, 1, 50)), 50);
    EXPECT_EQ(clean(RandomRun(1.0, 1, 50)), 0);
    const auto mixed = RandomRun(0.3, 1, 200);
    EXPECT_TRUE(clean(mixed) > 110 && clean(mixed) < 170) << clean(mixed);
    for (const auto& r : mixed) {
        EXPECT_TRUE(r.empty() || r == Reply(kCmd0) || r == "\x01X00" + kCmd0 + "\r\n");
    }
}

}  // namespace
