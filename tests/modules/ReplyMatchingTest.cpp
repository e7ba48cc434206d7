// Only the reply to the request in flight is taken: whatever else the line
// carries is dropped unlogged, and the real reply is still taken in time.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

#include <algorithm>

namespace {

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

}  // namespace

// Each wrong frame once, during a connect.
TEST(ReplyMatching, WhatIsNotTheReplyIsNeitherShownNorLogged)
{
    // clang-format off
    const struct {
        const char* name;
        void (*spoil)(Scenario&);
        int retried;  // the command the wrong frame cost a try: sent again after the time-out; -1: none
    } rows[] = {
        {"FlippedDataBit", [](Scenario& s) { s.line.Modem().AddFault({F::kBadCheckByte, 15, -1, 1}); }, 15},
        {"OtherCommandNumber", [](Scenario& s) { s.line.Modem().AddFault({F::kOtherCommand, 14, -1, 1}); }, 14},
        {"OtherAddress", [](Scenario& s) { s.line.Modem().AddFault({F::kOtherAddress, 15, -1, 1}); }, 15},
        {"BurstFrameBeforeTheReply", [](Scenario& s) { s.line.Modem().AddFault({F::kBurstBefore, 15, -1, 1}); }, -1},
        {"PreviousReplyRepeatedLate", [](Scenario& s) { s.line.Modem().AddFault({F::kRepeatLate, 0, -1, 1}); }, -1},
        {"BytesAfterTheReply", [](Scenario& s) { s.line.Modem().AddFault({F::kTrailingBytes, 0, -1, 1}); }, -1},
        // Noise on the line 50 ms before the first request goes out.
        {"StrayByteJustBeforeARequest", [](Scenario& s) { s.port.DeliverAfter(0, {0x55}); s.clock.AdvanceBy(20); }, -1}};
    // clang-format on
    Scenario cleanScenario;
    const ConnectRun clean = Connect(cleanScenario);
    ASSERT_EQ(clean.sendTimes.size(), 3u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario s;
        row.spoil(s);
        const ConnectRun run = Connect(s);
        Log expected = clean.log;
        if (row.retried >= 0) {
            const auto request = std::find(expected.begin(), expected.end(), LongRequest(row.retried));
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
}
