// Burst command and burst mode. (The Status indicator: the burst bit of each
// reply in the sequencer test, the blink it drives in the dialog test. A
// transmitter that bursts while the window works with it: the fault matrix's
// "burst" column.)
#include "tests/modules/Scenario.h"

namespace {

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
