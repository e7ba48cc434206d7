// Only the reply to the request in flight is taken: whatever else the line
// carries is dropped unlogged, and the real reply is still taken in time.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

#include <algorithm>

namespace {

using sim::FaultKind;

struct ConnectRun {
    std::vector<std::string> log;
    std::vector<std::int64_t> sendTimes;  // from the click
    std::int64_t end = 0;
};

ConnectRun Connect(Scenario& s)
{
    const std::int64_t click = s.clock.Now();
    s.Connect();
    ConnectRun run{s.LogHistory(), {}, s.clock.Now() - click};
    for (std::int64_t t : s.port.WriteTimes())
        run.sendTimes.push_back(t - click);
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "200.000 kPa");
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "0.500");
    return run;
}

ConnectRun CleanConnect()
{
    Scenario s;
    return Connect(s);
}

struct OtherFrameCase {
    const char* name;
    FaultKind fault;
    int command;
    bool triedAgain;  // the wrong frame cost the try: sent again after the time-out
};

class OtherFrameTest : public testing::TestWithParam<OtherFrameCase> {};

}  // namespace

TEST_P(OtherFrameTest, IsNeitherShownNorLogged)
{
    const ConnectRun clean = CleanConnect();
    Scenario s;
    s.line.modem().AddFault(sim::FaultRule{GetParam().fault, GetParam().command, -1, 1});
    const ConnectRun run = Connect(s);
    EXPECT_TRUE(s.MessagesFrom(0).empty());
    if (!GetParam().triedAgain) {
        EXPECT_EQ(run.log, clean.log);
        EXPECT_EQ(run.sendTimes, clean.sendTimes);
        return;
    }
    // The request once more, and nothing of the wrong frame.
    std::vector<std::string> expected = clean.log;
    const auto request = std::find(expected.begin(), expected.end(), LongRequest(GetParam().command));
    ASSERT_NE(request, expected.end());
    expected.insert(request, *request);
    EXPECT_EQ(run.log, expected);
    EXPECT_EQ(run.end - clean.end, REPLY_TIMEOUT + 10 + RETRY_DELAY + 10) << "one time-out and one retry delay more";
}

INSTANTIATE_TEST_SUITE_P(Connect, OtherFrameTest,
                         testing::Values(OtherFrameCase{"FlippedDataBit", FaultKind::kBadCheckByte, 15, true},
                                         OtherFrameCase{"OtherCommandNumber", FaultKind::kOtherCommand, 14, true},
                                         OtherFrameCase{"OtherAddress", FaultKind::kOtherAddress, 15, true},
                                         OtherFrameCase{"BurstFrameBeforeTheReply", FaultKind::kBurstBefore, 15, false},
                                         OtherFrameCase{"PreviousReplyRepeatedLate", FaultKind::kRepeatLate, 0, false},
                                         OtherFrameCase{"BytesAfterTheReply", FaultKind::kTrailingBytes, 0, false}),
                         [](const testing::TestParamInfo<OtherFrameCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ReplyMatching, AStrayByteJustBeforeARequestCostsNothing)
{
    const ConnectRun clean = CleanConnect();
    ASSERT_EQ(clean.sendTimes.size(), 3u);
    Scenario s;
    // Noise on the line 50 ms before the first request goes out.
    s.port.DeliverAfter(0, {0x55});
    s.clock.AdvanceBy(20);
    const ConnectRun run = Connect(s);
    EXPECT_EQ(run.sendTimes, clean.sendTimes) << "the same requests at the same times";
    EXPECT_EQ(run.end, clean.end);
}
