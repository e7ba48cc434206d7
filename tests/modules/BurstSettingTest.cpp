// Burst command and burst mode, and the Status indicator. (A transmitter that
// bursts while the window works with it: the fault matrix's "burst" column.)
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
