// Only the reply to the request in flight is taken: whatever else the line
// carries is dropped unlogged, and the real reply is still taken in time.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

#include <algorithm>

namespace {

using F = sim::FaultKind;

// A connect from the click on: its log, when each request went out, its end.
struct ConnectRun {
    Log log;
    std::vector<std::int64_t> sendTimes;
    std::int64_t end = 0;
};

ConnectRun Connect(Scenario& s)
{
    const std::int64_t click = s.clock.Now();
    s.Connect();
    ConnectRun run{s.LogHistory(), {}, s.clock.Now() - click};
    for (std::int64_t t : s.port.WriteTimes())
        run.sendTimes.push_back(t - click);
    EXPECT_TRUE(s.MessagesFrom(0).empty());
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "200.000 kPa");
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "0.500");
    return run;
}

struct OtherLine {
    const char* name;
    void (*spoil)(Scenario&);
    int retried;  // the command the wrong frame cost a try: sent again after the time-out; -1: none
};
void PrintTo(const OtherLine& c, std::ostream* os) { *os << c.name; }

class OtherLineTest : public testing::TestWithParam<OtherLine> {};

}  // namespace

TEST_P(OtherLineTest, IsNeitherShownNorLogged)
{
    Scenario cleanScenario, s;
    const ConnectRun clean = Connect(cleanScenario);
    ASSERT_EQ(clean.sendTimes.size(), 3u);
    GetParam().spoil(s);
    const ConnectRun run = Connect(s);
    Log expected = clean.log;
    if (GetParam().retried >= 0) {
        const auto request = std::find(expected.begin(), expected.end(), LongRequest(GetParam().retried));
        ASSERT_NE(request, expected.end());
        expected.insert(request, *request);
        EXPECT_EQ(run.end - clean.end, REPLY_TIMEOUT + 10 + RETRY_DELAY + 10)
            << "one time-out and one retry delay more";
    } else {
        EXPECT_EQ(run.sendTimes, clean.sendTimes) << "the same requests at the same times";
        EXPECT_EQ(run.end, clean.end);
    }
    EXPECT_EQ(run.log, expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Connect, OtherLineTest, testing::Values(
    OtherLine{"FlippedDataBit", [](Scenario& s) { s.line.Modem().AddFault({F::kBadCheckByte, 15, -1, 1}); }, 15},
    OtherLine{"OtherCommandNumber", [](Scenario& s) { s.line.Modem().AddFault({F::kOtherCommand, 14, -1, 1}); }, 14},
    OtherLine{"OtherAddress", [](Scenario& s) { s.line.Modem().AddFault({F::kOtherAddress, 15, -1, 1}); }, 15},
    OtherLine{"BurstFrameBeforeTheReply", [](Scenario& s) { s.line.Modem().AddFault({F::kBurstBefore, 15, -1, 1}); }, -1},
    OtherLine{"PreviousReplyRepeatedLate", [](Scenario& s) { s.line.Modem().AddFault({F::kRepeatLate, 0, -1, 1}); }, -1},
    OtherLine{"BytesAfterTheReply", [](Scenario& s) { s.line.Modem().AddFault({F::kTrailingBytes, 0, -1, 1}); }, -1},
    // Noise on the line 50 ms before the first request goes out.
    OtherLine{"StrayByteJustBeforeARequest", [](Scenario& s) { s.port.DeliverAfter(0, {0x55}); s.clock.AdvanceBy(20); }, -1}),
    [](const testing::TestParamInfo<OtherLine>& info) { return std::string(info.param.name); });
// clang-format on
