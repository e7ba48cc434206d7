// Each fault switch changes exactly what it names. Expected lines are the
// clean reply with that one change applied by hand (check byte included).
#include <gtest/gtest.h>

#include "SimTestSupport.h"

using simtest::Exchange;
using simtest::FeedText;
using simtest::Immediate;
using simtest::Joined;
using simtest::Reply;
using simtest::Request;
using sim::FaultKind;
using sim::FaultRule;

namespace {

// Clean reply to command 0 at polling address 0.
const std::string kCmd0 = "0680000E0000FEB57C050501020800010203B4";

struct FaultCase {
    const char* name;
    FaultRule rule;
    const char* request;
    std::string expected;  // the whole reply line; empty: no reply
};

const FaultCase kCases[] = {
    {"NoAnswer", {FaultKind::kNoAnswer}, "0280000082", ""},
    {"LetterX", {FaultKind::kLetterX}, "0280000082", "\x01X00" + kCmd0 + "\r\n"},
    {"LetterR", {FaultKind::kLetterR}, "0280000082", "\x01R00" + kCmd0 + "\r\n"},
    {"LetterW", {FaultKind::kLetterW}, "0280000082", "\x01W00" + kCmd0 + "\r\n"},
    {"LowerCaseHex", {FaultKind::kLowerCaseHex}, "0280000082",
     "\x01P000680000e0000feb57c050501020800010203b4\r\n"},
    {"MissingLf", {FaultKind::kMissingLf}, "0280000082", "\x01P00" + kCmd0 + "\r"},
    // Byte count 0D and the last data byte gone.
    {"ShortCount", {FaultKind::kShortCount}, "0280000082",
     Reply("0680000D0000FEB57C0505010208000102B4")},
    // Byte count 0E + 4, bytes unchanged.
    {"LongCount", {FaultKind::kLongCount}, "0280000082",
     Reply("068000120000FEB57C050501020800010203A8")},
    {"LongCountBy1", {FaultKind::kLongCount, sim::kAllCommands, 1}, "0280000082",
     Reply("0680000F0000FEB57C050501020800010203B5")},
    // Response code 64, device status, nothing else.
    {"StatusOnly", {FaultKind::kStatusOnly}, "0280000082", Reply("068000024000C4")},
    {"ResponseCode16", {FaultKind::kResponseCode, sim::kAllCommands, 16}, "0280000082",
     Reply("0680000E1000FEB57C050501020800010203A4")},
    {"BurstBit", {FaultKind::kBurstBit}, "0280000082",
     Reply("06C0000E0000FEB57C050501020800010203F4")},
    // Command 15: alarm, transfer function and write protection set to 254.
    {"BadEchoCmd15", {FaultKind::kBadEcho}, "82B57C0102030F0044",
     Reply("86B57C0102030F130000FEFE0C42C80000000000003F000000FEB5A1")},
    // Command 44 echo: the unit byte.
    {"BadEchoCmd44", {FaultKind::kBadEcho, 44, 3}, "82B57C0102032C010660",
     Reply("86B57C0102032C0300400323")},
    // Command 1: unit code 32 instead of 12.
    {"BadUnitCmd1", {FaultKind::kBadUnit}, "82B57C01020301004A",
     Reply("86B57C01020301070000204248000063")},
    {"BadUnit7Cmd1", {FaultKind::kBadUnit, 1, 7}, "82B57C01020301004A",
     Reply("86B57C01020301070000074248000044")},
    // Command 0 carries no setting or unit code: nothing to bend.
    {"BadEchoCmd0Unchanged", {FaultKind::kBadEcho}, "0280000082", Reply(kCmd0)},
};

class FaultSwitchTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultSwitchTest, ChangesExactlyWhatItNames) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back(GetParam().rule);
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, GetParam().request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSwitchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaultSelectTest, RuleForOneCommandLeavesOthersAlone) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kLetterX, 1});
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, "0280000082"), Reply(kCmd0));
    EXPECT_EQ(Exchange(modem, "82B57C01020301004A"),
              "\x01X0086B57C010203010700000C424800004F\r\n");
}

TEST(FaultSelectTest, TimesLimitsTheSpoiledReplies) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kNoAnswer, sim::kAllCommands, -1, 2});
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, "0280000082"), "");
    EXPECT_EQ(Exchange(modem, "0280000082"), "");
    EXPECT_EQ(Exchange(modem, "0280000082"), Reply(kCmd0));
}

TEST(FaultSelectTest, FaultsCombine) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kLowerCaseHex});
    options.faults.push_back({FaultKind::kMissingLf});
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, "0280000082"), "\x01P000680000e0000feb57c050501020800010203b4\r");
}

TEST(FaultSelectTest, SetterAddsAndClearsRules) {
    sim::Modem modem(Immediate());
    modem.AddFault({FaultKind::kLetterR});
    EXPECT_EQ(Exchange(modem, "0280000082"), "\x01R00" + kCmd0 + "\r\n");
    modem.ClearFaults();
    EXPECT_EQ(Exchange(modem, "0280000082"), Reply(kCmd0));
}

// Damping write of 2.0 s, then command 15 to see whether it took effect.
const std::string kWriteDamping = "82B57C0102032204400000002D";
const std::string kCleanCmd15 = "86B57C0102030F13000000000C42C80000000000003F00000000B55F";

TEST(FaultDeviceTest, LostRequestIsNotActedOn) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kNoAnswer, 34});
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, kWriteDamping), "");
    EXPECT_EQ(Exchange(modem, "82B57C0102030F0044"), Reply(kCleanCmd15));
}

TEST(FaultDeviceTest, StatusOnlyCommandIsNotActedOn) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kStatusOnly, 34});
    sim::Modem modem(options);
    EXPECT_EQ(Exchange(modem, kWriteDamping), Reply("86B57C010203220240002F"));
    EXPECT_EQ(Exchange(modem, "82B57C0102030F0044"), Reply(kCleanCmd15));
}

TEST(FaultGapTest, ImmediateReplySplitByTheGap) {
    sim::ModemOptions options = Immediate();
    options.faults.push_back({FaultKind::kLongGap});
    sim::Modem modem(options);
    const auto chunks = FeedText(modem, Request("0280000082"));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].delayMs, 0);
    EXPECT_EQ(chunks[1].delayMs, 150);
    EXPECT_EQ(Joined(chunks), Reply(kCmd0));
}

TEST(FaultGapTest, TimedReplyHasOneGapOfAtLeastTheValue) {
    sim::ModemOptions options;
    options.faults.push_back({FaultKind::kLongGap, sim::kAllCommands, 220});
    sim::Modem modem(options);
    const auto chunks = FeedText(modem, Request("0280000082"));
    ASSERT_GE(chunks.size(), 2u);
    int longGaps = 0;
    for (std::size_t i = 1; i < chunks.size(); ++i) {
        const int gap = chunks[i].delayMs - chunks[i - 1].delayMs;
        if (gap >= 220) ++longGaps;
        else EXPECT_LT(gap, 100);
    }
    EXPECT_EQ(longGaps, 1);
    EXPECT_EQ(Joined(chunks), Reply(kCmd0));
}

std::vector<std::string> RandomRun(double rate, std::uint32_t seed, int requests) {
    sim::ModemOptions options = Immediate();
    options.randomFaultRate = rate;
    options.randomFaults = {FaultKind::kLetterX, FaultKind::kNoAnswer};
    options.seed = seed;
    sim::Modem modem(options);
    std::vector<std::string> replies;
    for (int i = 0; i < requests; ++i) replies.push_back(Exchange(modem, "0280000082"));
    return replies;
}

TEST(FaultRandomTest, SameSeedSameFaults) {
    const auto first = RandomRun(0.3, 7, 60);
    EXPECT_EQ(first, RandomRun(0.3, 7, 60));
    EXPECT_NE(first, RandomRun(0.3, 8, 60));
}

TEST(FaultRandomTest, RateDecidesHowManyRepliesAreSpoiled) {
    const auto countClean = [](const std::vector<std::string>& replies) {
        int clean = 0;
        for (const auto& r : replies) clean += r == Reply(kCmd0) ? 1 : 0;
        return clean;
    };
    EXPECT_EQ(countClean(RandomRun(0.0, 1, 50)), 50);
    EXPECT_EQ(countClean(RandomRun(1.0, 1, 50)), 0);
    const auto mixed = RandomRun(0.3, 1, 200);
    const int clean = countClean(mixed);
    EXPECT_GT(clean, 110);
    EXPECT_LT(clean, 170);
    for (const auto& r : mixed) {
        EXPECT_TRUE(r.empty() || r == Reply(kCmd0) || r == "\x01X00" + kCmd0 + "\r\n");
    }
}

}  // namespace
