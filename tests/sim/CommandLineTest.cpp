#include <gtest/gtest.h>

#include <tuple>

#include "sim/CommandLine.h"

namespace {

TEST(CommandLineTest, ParsesIdentityDeviceAndFaults)
{
    sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(sim::ParseCommandLine({"--address", "5", "--manufacturer=0x26", "--device-type", "124",
                                       "--device-id=0xABCDEF", "--device", "/dev/ttyS1", "--immediate", "--quiet",
                                       "--no-answer", "--response-code=36:9", "--long-gap=all:300", "--letter-x=1::2",
                                       "--random-rate=0.25", "--random-faults", "letter-r,missing-lf", "--seed", "42"},
                                      o, error))
        << error;
    EXPECT_EQ(o.modem.identity.pollingAddress, 5);
    EXPECT_EQ(o.modem.identity.manufacturer, 0x26);
    EXPECT_EQ(o.modem.identity.deviceType, 124);
    EXPECT_EQ(o.modem.identity.deviceId, (std::array<std::uint8_t, 3>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(o.devicePath, "/dev/ttyS1");
    EXPECT_TRUE(o.modem.immediate);
    EXPECT_TRUE(o.quiet);
    // Kind, command, value, times; -1 stands for all commands, the default, no limit.
    std::vector<std::tuple<sim::FaultKind, int, int, int>> rules;
    for (const auto& f : o.modem.faults)
        rules.emplace_back(f.kind, f.command, f.value, f.times);
    EXPECT_EQ(rules, (decltype(rules){{sim::FaultKind::kNoAnswer, -1, -1, -1},
                                      {sim::FaultKind::kResponseCode, 36, 9, -1},
                                      {sim::FaultKind::kLongGap, -1, 300, -1},
                                      {sim::FaultKind::kLetterX, 1, -1, 2}}));
    EXPECT_DOUBLE_EQ(o.modem.randomFaultRate, 0.25);
    EXPECT_EQ(o.modem.randomFaults,
              (std::vector<sim::FaultKind>{sim::FaultKind::kLetterR, sim::FaultKind::kMissingLf}));
    EXPECT_EQ(o.modem.seed, 42u);
    ASSERT_TRUE(sim::ParseCommandLine({"--burst-period", "250"}, o, error));
    EXPECT_EQ(o.modem.burstPeriodMs, 250);
}

TEST(CommandLineTest, BadOptionsAreRefused)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--address", "16"},    {"--address"},
        {"--manufacturer=256"}, {"--device-id=0x1000000"},
        {"--random-rate=1.5"},  {"--random-faults=nonsense"},
        {"--no-answer=abc"},    {"--long-gap=1:2:3:4"},
        {"--letter-x=1::0"},    {"--bogus"},
        {"--seed", "x"},        {"--burst-period=0"},
        {"--device", ""},
    };
    for (const auto& args : bad) {
        sim::SimOptions options;
        std::string error;
        EXPECT_FALSE(sim::ParseCommandLine(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

// --help lists every option; each fault switch adds a rule of its own kind.
TEST(CommandLineTest, UsageNamesEveryOptionAndEachFaultSwitchWorks)
{
    const std::string usage = sim::Usage();
    for (const char* option : {"--immediate", "--quiet", "--address", "--manufacturer", "--device-type", "--device-id",
                               "--burst-period", "--random-rate", "--random-faults", "--seed", "--help"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    // In the order the fault kinds are declared.
    const char* faults[] = {"--no-answer",     "--letter-x",     "--letter-r",      "--letter-w",
                            "--lowercase-hex", "--missing-lf",   "--long-gap",      "--short-count",
                            "--long-count",    "--status-only",  "--response-code", "--burst-bit",
                            "--bad-echo",      "--bad-unit",     "--bad-check",     "--other-command",
                            "--other-address", "--burst-before", "--repeat-late",   "--trailing-bytes"};
    ASSERT_EQ(sim::AllFaultKinds().size(), std::size(faults));
    for (std::size_t i = 0; i < std::size(faults); ++i) {
        EXPECT_NE(usage.find(faults[i]), std::string::npos) << faults[i];
        sim::SimOptions parsed;
        std::string error;
        ASSERT_TRUE(sim::ParseCommandLine({faults[i]}, parsed, error)) << error;
        ASSERT_EQ(parsed.modem.faults.size(), 1u);
        EXPECT_EQ(parsed.modem.faults[0].kind, sim::AllFaultKinds()[i]) << faults[i];
    }
}

}  // namespace
