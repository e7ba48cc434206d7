#include <gtest/gtest.h>

#include <tuple>

#include "sim/CommandLine.h"

namespace {

TEST(CommandLineTest, ParsesIdentityDeviceAndFaults)
{
    sim::SimOptions o;
    std::string error;
    // clang-format off
    const std::vector<std::string> args = {"--address", "5", "--manufacturer=0x26", "--device-type", "124",
        "--device-id=0xABCDEF", "--device", "/dev/ttyS1", "--immediate", "--quiet", "--no-answer", "--response-code=36:9",
        "--long-gap=all:300", "--letter-x=1::2", "--random-rate=0.25", "--random-faults", "letter-r,missing-lf", "--seed",
        "42", "--burst-period", "250"};
    // clang-format on
    ASSERT_TRUE(sim::ParseCommandLine(args, o, error)) << error;
    const sim::Identity& id = o.modem.identity;
    EXPECT_EQ(std::tie(id.pollingAddress, id.manufacturer, id.deviceType), std::make_tuple(5, 0x26, 124));
    EXPECT_EQ(id.deviceId, (std::array<std::uint8_t, 3>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(o.devicePath, "/dev/ttyS1");
    EXPECT_TRUE(o.modem.immediate && o.quiet);
    // Kind, command, value, times; -1 stands for all commands, the default, no limit.
    std::vector<std::tuple<sim::FaultKind, int, int, int>> rules;
    for (const auto& f : o.modem.faults)
        rules.emplace_back(f.kind, f.command, f.value, f.times);
    using F = sim::FaultKind;
    EXPECT_EQ(rules, (decltype(rules){{F::kNoAnswer, -1, -1, -1},
                                      {F::kResponseCode, 36, 9, -1},
                                      {F::kLongGap, -1, 300, -1},
                                      {F::kLetterX, 1, -1, 2}}));
    EXPECT_EQ(o.modem.randomFaults, (std::vector<F>{F::kLetterR, F::kMissingLf}));
    EXPECT_EQ(std::tie(o.modem.randomFaultRate, o.modem.seed, o.modem.burstPeriodMs), std::make_tuple(0.25, 42u, 250));
}

// Bad options are refused with a reason; --help names each fault switch, and
// each adds a rule of its own kind (the switches' names are pinned by the
// columns of docs/fault-matrix.md).
TEST(CommandLineTest, BadOptionsAreRefusedAndEachFaultSwitchWorks)
{
    // clang-format off
    const std::vector<std::vector<std::string>> bad = {
        {"--address", "16"}, {"--address"}, {"--manufacturer=256"}, {"--device-id=0x1000000"}, {"--random-rate=1.5"},
        {"--random-faults=nonsense"}, {"--no-answer=abc"}, {"--long-gap=1:2:3:4"}, {"--letter-x=1::0"}, {"--bogus"},
        {"--seed", "x"}, {"--burst-period=0"}, {"--device", ""}, {"--link=serial"}, {"--tcp"}, {"--echo"},
        {"--listen=127.0.0.1:5094"}, {"--link=fsk", "--preambles=1"}, {"--link=fsk", "--pace=1200", "--immediate"},
        {"--link=hartip", "--device=/dev/ttyS0"}, {"--link=hartip", "--listen=10.0.0.1:5094"},
        {"--link=hartip", "--listen=127.0.0.1"}, {"--link=hartip", "--random-faults=stall"}, {"--multidrop=0"},
        {"--multidrop=16"}, {"--address=2", "--multidrop=2"}, {"--sensor-error=50.5"}, {"--pressure=1e6"},
        {"--pressure=80kPa"}};
    // clang-format on
    sim::SimOptions parsed;
    std::string error;
    for (const auto& args : bad) {
        parsed = {};
        EXPECT_FALSE(sim::ParseCommandLine(args, parsed, error)) << args[0];
        EXPECT_FALSE(error.empty());
        error.clear();
    }
    // Each link takes its own faults, named in --help, and refuses the others.
    EXPECT_EQ(sim::FaultKindsFor(sim::Link::kHex), sim::AllFaultKinds());
    const std::tuple<sim::Link, std::vector<std::string>, std::size_t> links[] = {
        {sim::Link::kHex, {}, 20},
        {sim::Link::kFsk, {"--link=fsk"}, 15},
        {sim::Link::kUdp, {"--link=hartip"}, 18},
        {sim::Link::kTcp, {"--link=hartip", "--tcp"}, 20}};
    for (const auto& [link, args, count] : links) {
        std::size_t taken = 0;
        for (int k = 0; k <= static_cast<int>(sim::FaultKind::kJoinWrites); ++k) {
            const auto kind = static_cast<sim::FaultKind>(k);
            const std::string option = "--" + std::string(sim::FaultName(kind));
            EXPECT_NE(sim::Usage().find(option), std::string::npos) << option;
            auto all = args;
            all.push_back(option);
            parsed = {};
            const bool ok = sim::ParseCommandLine(all, parsed, error);
            EXPECT_EQ(ok, sim::FaultAppliesTo(kind, link)) << option << " on " << args.size();
            taken += ok && parsed.link == link && parsed.modem.faults.at(0).kind == kind;
        }
        EXPECT_EQ(taken, count) << "on " << args.size();
    }
}

TEST(CommandLineTest, LinksProcessAndConsoleOptions)
{
    sim::SimOptions fsk, ip;
    std::string error;
    ASSERT_TRUE(sim::ParseCommandLine({"--link", "fsk", "--echo", "--pace=1200", "--preambles", "8"}, fsk, error));
    EXPECT_EQ(std::tie(fsk.link, fsk.fsk.echo, fsk.fsk.paceBaud, fsk.fsk.preambles),
              std::make_tuple(sim::Link::kFsk, true, 1200, 8));
    ASSERT_TRUE(sim::ParseCommandLine({"--link=hartip", "--tcp", "--listen", "0.0.0.0:5094", "--publish-version=2"}, ip,
                                      error));
    EXPECT_EQ(std::tie(ip.link, ip.listenHost, ip.listenPort, ip.publishVersion),
              std::make_tuple(sim::Link::kTcp, std::string("0.0.0.0"), 5094, 2));
    sim::SimOptions o;
    const std::vector<std::string> process = {"--multidrop", "3",        "--sensor-error=-2.5", "--pressure",
                                              "80.5",        "--steady", "--commands"};
    ASSERT_TRUE(sim::ParseCommandLine(process, o, error)) << error;
    EXPECT_EQ(std::tie(o.modem.multidrop, o.modem.sensorErrorPct, o.modem.processKpa, o.modem.steady, o.commands),
              std::make_tuple(3, -2.5, 80.5, true, true));
    for (const char* text : {"--multidrop N", "--sensor-error PCT", "--pressure KPA", "--steady", "--commands",
                             "pressure KPA [ADDR]", "wobble 0|1 [ADDR]"})
        EXPECT_NE(sim::Usage().find(text), std::string::npos) << text;
}

}  // namespace
