// Auto read on the simulated transmitter: the cycle of commands 1 and 2, how
// it stops, and how it fails.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

namespace {

// Connected, "Auto Read" clicked, the log marked, perhaps a fault on the line.
struct AutoRead : Scenario {
    std::size_t mark = 0;
    explicit AutoRead(F kind = {}, int command = -2)
    {
        Connect();
        mark = LogHistory().size();
        window.Click(IDC_AUTO_READ);
        if (command != -2)
            Fault(kind, command);
    }
    // Runs until the log has reached n entries since the click.
    void RunUntilLogged(std::size_t n)
    {
        ASSERT_TRUE(clock.AdvanceUntil([&] { return LogHistory().size() >= mark + n; }, clock.Now() + 60000));
    }
    // The PV, its unit, the loop current and the percent of range as shown.
    Log Values() const { return {Shown(IDC_PV), Shown(IDC_PV_UNIT), Shown(IDC_CURRENT), Shown(IDC_PERCENT)}; }
};

}  // namespace

TEST(AutoRead, CyclesThroughCommandsOneAndTwoShowingEachReply)
{
    AutoRead s;
    EXPECT_TRUE(s.window.IsEnabled(IDC_STOP_READ));
    EXPECT_FALSE(s.window.IsEnabled(IDC_READ_RANGE));
    s.RunUntilLogged(5);
    const Log log = s.LogFrom(s.mark);
    EXPECT_EQ((Log{log[0], log[2], log[4]}), (Log{LongRequest(1), LongRequest(2), LongRequest(1)})) << "two cycles";
    EXPECT_EQ(log[1].substr(0, 22), "86B57C01020301070000" + std::string("0C")) << "kPa";
    EXPECT_EQ(s.Values(), (Log{"+5.0130e+01", "kPa", "12.023", "50.145"}));
}

TEST(AutoRead, StopWhileCommandOneAwaitsItsReplyShowsItAndSendsNoMore)
{
    AutoRead s;
    s.RunUntilLogged(1);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    EXPECT_EQ(s.LogFrom(s.mark).size(), 2u) << "command 2 is never sent";
    EXPECT_EQ(s.Values(), (Log{"+5.0130e+01", "kPa", "", ""}));
    EXPECT_TRUE(!s.window.IsEnabled(IDC_STOP_READ) && s.window.IsEnabled(IDC_AUTO_READ) &&
                s.window.IsEnabled(IDC_READ_RANGE));
}

// The retry's send sees the flag: nothing more goes out.
TEST(AutoRead, StopDuringTheWaitBeforeARetryEndsTheLoopWithoutTheRetry)
{
    AutoRead s(F::kNoAnswer, 1);
    const auto waiting = [&] {
        return s.timers.IsArmed(TIMER_STEP) && s.timers.DueAt(TIMER_STEP) == s.clock.Now() + RETRY_DELAY;
    };
    ASSERT_TRUE(s.clock.AdvanceUntil(waiting, s.clock.Now() + 60000));
    s.clock.AdvanceBy(RETRY_DELAY / 2);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    EXPECT_EQ(s.LogFrom(s.mark), Log{LongRequest(1)});
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ));
}

TEST(AutoRead, ThreeFailuresOfCommandTwoEndTheLoopWithStopReadStillEnabled)
{
    AutoRead s(F::kNoAnswer, 2);
    s.RunUntilRest();
    const Log log = s.LogFrom(s.mark);
    EXPECT_EQ(Log(log.begin() + 2, log.end()),
              (Log{LongRequest(2), LongRequest(2), LongRequest(2), "Communication fail!"}));
    EXPECT_TRUE(s.window.IsEnabled(IDC_STOP_READ));
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ));
}

TEST(AutoRead, UnknownPvUnitEmptiesThePvFieldsSilentlyAndGoesOn)
{
    AutoRead s(F::kBadUnit, 1);
    s.RunUntilLogged(4);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    EXPECT_EQ(s.Values(), (Log{"", "", "12.023", "50.145"}));
    EXPECT_TRUE(s.MessagesFrom(s.mark).empty());
}
