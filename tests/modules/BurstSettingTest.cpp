// Burst command and burst mode, the Status indicator, and a transmitter that
// bursts while the window works with it.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

namespace {

using F = sim::FaultKind;

// Each choice writes command 108 and clears the other two; the echoed value decides the message.
// clang-format off
const Operation kOperations[] = {
    {"Cmd2WritesCommand108AndClearsTheOtherChoices", {{IDC_BURST_CMD1, "1"}, {IDC_BURST_CMD3, "1"}}, IDC_BURST_CMD2, {LongRequest(108, {2}), LongReply(108, 0x40, {2}), "Setting succeed!"},
     {{IDC_BURST_CMD1, "0"}, {IDC_BURST_CMD2, "1"}, {IDC_BURST_CMD3, "0"}}},
    {"Cmd3Echo5", {}, IDC_BURST_CMD3, {"Data reply not right!"}, {}, {{F::kBadEcho, 108, 5}}},
    {"Cmd1Silence", {}, IDC_BURST_CMD1, {"Communication fail!"}, {}, {{F::kNoAnswer, 108}}},
    {"ExitBurstEcho1", {}, IDC_EXIT_BURST, {"Burst mode entered!"}, {}, {{F::kBadEcho, 109, 1}}},
    {"EnterBurstEcho0", {}, IDC_ENTER_BURST, {"Burst mode exited!"}, {}, {{F::kBadEcho, 109, 0}}},
    {"EnterBurstEcho7", {}, IDC_ENTER_BURST, {"Data reply not right!"}, {}, {{F::kBadEcho, 109, 7}}},
    {"EnterBurstStatusOnly", {}, IDC_ENTER_BURST, {"Command not implemented!"}, {}, {{F::kStatusOnly, 109}}},
};
// clang-format on

}  // namespace

INSTANTIATE_TEST_SUITE_P(Burst, OperationTest, testing::ValuesIn(kOperations), OperationName);

TEST(BurstSetting, StatusBlinksWhileTheRepliesShowBurstMode)
{
    Scenario s;
    s.Connect();
    s.Run(IDC_ENTER_BURST);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Burst mode entered!"}));
    std::vector<int> checks;
    for (int second = 0; second < 4; ++second) {
        s.clock.AdvanceBy(BLINK_PERIOD);
        checks.push_back(s.window.GetCheck(IDC_STATUS));
    }
    EXPECT_TRUE(checks == (std::vector<int>{0, 1, 0, 1}) || checks == (std::vector<int>{1, 0, 1, 0}));

    s.Run(IDC_EXIT_BURST);
    EXPECT_EQ(s.MessagesFrom(0).back(), "Burst mode exited!");
    for (int period = 0; period < 2; ++period) {
        s.clock.AdvanceBy(BLINK_PERIOD);
        EXPECT_EQ(s.window.GetCheck(IDC_STATUS), 0) << "dark after a reply without the burst bit";
    }
}

// Every reply logged is an acknowledge to the command requested just before
// it: a burst frame (81) never reaches the log, and no field shows its data.
TEST(BurstSetting, TheWindowWorksWithATransmitterBurstingEvery300Ms)
{
    Scenario s;
    s.line.Modem().SetBurstPeriod(300);
    s.Connect();
    s.Run(IDC_ENTER_BURST);
    s.Run(IDC_READ_RANGE);
    s.window.Type(IDC_DAMPING, "2");
    s.Run(IDC_SET_DAMPING);
    s.window.Click(IDC_AUTO_READ);
    s.clock.AdvanceBy(5000);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    s.Run(IDC_EXIT_BURST);

    EXPECT_EQ(s.MessagesFrom(0), (Log{"Burst mode entered!", "Setting succeed!", "Burst mode exited!"}));
    std::string command;
    for (const std::string& line : s.LogHistory()) {
        const bool shortFrame = line.starts_with("02") || line.starts_with("06");
        const std::string number = line.substr(shortFrame ? 4 : 12, 2);
        if (line.starts_with("02") || line.starts_with("82"))
            command = number;
        else if (line.starts_with("06") || line.starts_with("86"))
            EXPECT_EQ(number, command) << line;
        else
            EXPECT_NE(line.find_first_not_of("0123456789ABCDEF"), std::string::npos)
                << "a frame of another kind: " << line;
    }
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "2.000");
    EXPECT_EQ(s.device().damping, 2.0f);
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UPPER), "+1.0000e+02");
    EXPECT_EQ(s.window.GetText(IDC_PV_UNIT), "kPa");
    EXPECT_NEAR(std::stod(s.window.GetText(IDC_PERCENT)), 50.0, 0.5);
    EXPECT_FALSE(s.device().burstMode);
    EXPECT_GT(s.port.Writes().size(), 12u) << "the auto read went round several times";
}
