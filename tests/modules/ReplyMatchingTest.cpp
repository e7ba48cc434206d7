// Only the reply to the request in flight is taken: whatever else the line
// carries is dropped unlogged, and the real reply is still taken in time.
#include "tests/modules/Scenario.h"

namespace {
// Send times of a connect, counted from the click, and when it ended.
std::vector<std::int64_t> ConnectTimeline(bool strayByteFirst)
{
    Scenario s;
    if (strayByteFirst) {
        // Noise on the line 50 ms before the first request goes out.
        s.port.DeliverAfter(0, {0x55});
        s.clock.AdvanceBy(20);
    }
    const std::int64_t click = s.clock.Now();
    s.Connect();
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "0.500");
    std::vector<std::int64_t> times;
    for (std::int64_t t : s.port.WriteTimes())
        times.push_back(t - click);
    times.push_back(s.clock.Now() - click);
    return times;
}
}  // namespace

TEST(ReplyMatching, AStrayByteJustBeforeARequestCostsNothing)
{
    const std::vector<std::int64_t> clean = ConnectTimeline(false);
    ASSERT_EQ(clean.size(), 4u) << "three requests, then the end";
    EXPECT_EQ(ConnectTimeline(true), clean) << "the same requests at the same times";
}
