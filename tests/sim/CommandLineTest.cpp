#include <gtest/gtest.h>

#include "sim/CommandLine.h"

namespace {

sim::SimOptions Parse(const std::vector<std::string>& args) {
    sim::SimOptions options;
    std::string error;
    EXPECT_TRUE(sim::ParseCommandLine(args, options, error)) << error;
    return options;
}

TEST(CommandLineTest, IdentityAndDevice) {
    const auto o = Parse({"--address", "5", "--manufacturer=0x26", "--device-type", "124",
                          "--device-id=0xABCDEF", "--device", "/dev/ttyS1", "--immediate"});
    EXPECT_EQ(o.modem.identity.pollingAddress, 5);
    EXPECT_EQ(o.modem.identity.manufacturer, 0x26);
    EXPECT_EQ(o.modem.identity.deviceType, 124);
    EXPECT_EQ(o.modem.identity.deviceId, (std::array<std::uint8_t, 3>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(o.devicePath, "/dev/ttyS1");
    EXPECT_TRUE(o.modem.immediate);
}

TEST(CommandLineTest, FaultSwitchesWithSelectorValueAndTimes) {
    const auto o = Parse({"--no-answer", "--response-code=36:9", "--long-gap=all:300",
                          "--letter-x=1::2", "--bad-unit=14"});
    ASSERT_EQ(o.modem.faults.size(), 5u);
    const auto& f = o.modem.faults;
    EXPECT_EQ(f[0].kind, sim::FaultKind::kNoAnswer);
    EXPECT_EQ(f[0].command, sim::kAllCommands);
    EXPECT_EQ(f[1].kind, sim::FaultKind::kResponseCode);
    EXPECT_EQ(f[1].command, 36);
    EXPECT_EQ(f[1].value, 9);
    EXPECT_EQ(f[2].command, sim::kAllCommands);
    EXPECT_EQ(f[2].value, 300);
    EXPECT_EQ(f[3].command, 1);
    EXPECT_EQ(f[3].value, -1);
    EXPECT_EQ(f[3].times, 2);
    EXPECT_EQ(f[4].kind, sim::FaultKind::kBadUnit);
    EXPECT_EQ(f[4].command, 14);
}

TEST(CommandLineTest, RandomFaults) {
    const auto o = Parse({"--random-rate=0.25", "--random-faults", "letter-r,missing-lf",
                          "--seed", "42"});
    EXPECT_DOUBLE_EQ(o.modem.randomFaultRate, 0.25);
    EXPECT_EQ(o.modem.randomFaults,
              (std::vector<sim::FaultKind>{sim::FaultKind::kLetterR, sim::FaultKind::kMissingLf}));
    EXPECT_EQ(o.modem.seed, 42u);
}

TEST(CommandLineTest, BadOptionsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--address", "16"},       {"--address"},          {"--manufacturer=256"},
        {"--device-id=0x1000000"}, {"--random-rate=1.5"},  {"--random-faults=nonsense"},
        {"--no-answer=abc"},       {"--long-gap=1:2:3:4"}, {"--letter-x=1::0"},
        {"--bogus"},               {"--seed", "x"},
    };
    for (const auto& args : bad) {
        sim::SimOptions options;
        std::string error;
        EXPECT_FALSE(sim::ParseCommandLine(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineTest, UsageNamesEveryFaultAndOption) {
    const std::string usage = sim::Usage();
    for (sim::FaultKind kind : sim::AllFaultKinds()) {
        const std::string option = "--" + std::string(sim::FaultName(kind));
        EXPECT_NE(usage.find(option), std::string::npos) << option;
        EXPECT_EQ(sim::FaultFromName(sim::FaultName(kind)), kind);
        sim::SimOptions options;
        std::string error;
        EXPECT_TRUE(sim::ParseCommandLine({option}, options, error)) << option << ": " << error;
    }
    for (const char* option : {"--device", "--address", "--manufacturer", "--device-type",
                               "--device-id", "--immediate", "--random-rate", "--random-faults",
                               "--seed", "--help"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
