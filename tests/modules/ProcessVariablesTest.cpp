// Auto read on the simulated transmitter: the cycle of commands 1 and 2, how
// it stops, and how it fails.
#include "tests/modules/Scenario.h"
#include "text/Format.h"

#include <bit>

namespace {

// The float at a data byte of a long reply as the log shows it (data byte 0
// follows the 8 header bytes and the 2 status bytes).
double ReplyFloat(const std::string& hex, int dataByte)
{
    return std::bit_cast<float>(
        static_cast<std::uint32_t>(std::stoul(hex.substr(2 * (10 + dataByte), 8), nullptr, 16)));
}

// Connected, "Auto Read" clicked, the log marked, perhaps a fault on the line.
struct AutoRead : Scenario {
    std::size_t mark = 0;
    explicit AutoRead(sim::FaultKind kind = {}, int command = -2)
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
};

}  // namespace

TEST(AutoRead, CyclesThroughCommandsOneAndTwoShowingEachReply)
{
    AutoRead s;
    EXPECT_TRUE(s.window.IsEnabled(IDC_STOP_READ));
    EXPECT_FALSE(s.window.IsEnabled(IDC_READ_RANGE));
    s.RunUntilLogged(5);
    const Log log = s.LogFrom(s.mark);
    EXPECT_EQ(log[0], LongRequest(1));
    EXPECT_EQ(log[2], LongRequest(2));
    EXPECT_EQ(log[4], LongRequest(1)) << "the next cycle";
    EXPECT_EQ(log[1].substr(0, 22), "86B57C01020301070000" + std::string("0C")) << "kPa";
    EXPECT_EQ(s.window.GetText(IDC_PV), FormatText("%+.4e", ReplyFloat(log[1], 1)));
    EXPECT_EQ(s.window.GetText(IDC_PV_UNIT), "kPa");
    EXPECT_EQ(s.window.GetText(IDC_CURRENT), FormatText("%.3f", ReplyFloat(log[3], 0)));
    EXPECT_EQ(s.window.GetText(IDC_PERCENT), FormatText("%.3f", ReplyFloat(log[3], 4)));
    EXPECT_NEAR(std::stod(s.window.GetText(IDC_PERCENT)), 50.0, 0.5);
}

TEST(AutoRead, StopWhileCommandOneAwaitsItsReplyShowsItAndSendsNoMore)
{
    AutoRead s;
    s.RunUntilLogged(1);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    const Log log = s.LogFrom(s.mark);
    ASSERT_EQ(log.size(), 2u) << "command 2 is never sent";
    EXPECT_EQ(s.window.GetText(IDC_PV), FormatText("%+.4e", ReplyFloat(log[1], 1)));
    EXPECT_FALSE(s.window.IsEnabled(IDC_STOP_READ));
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ));
    EXPECT_TRUE(s.window.IsEnabled(IDC_READ_RANGE));
}

TEST(AutoRead, ThreeFailuresOfCommandTwoEndTheLoopWithStopReadStillEnabled)
{
    AutoRead s(sim::FaultKind::kNoAnswer, 2);
    s.RunUntilRest();
    const Log log = s.LogFrom(s.mark);
    EXPECT_EQ(Log(log.begin() + 2, log.end()),
              (Log{LongRequest(2), LongRequest(2), LongRequest(2), "Communication fail!"}));
    EXPECT_TRUE(s.window.IsEnabled(IDC_STOP_READ));
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ));
}

TEST(AutoRead, UnknownPvUnitEmptiesThePvFieldsSilentlyAndGoesOn)
{
    AutoRead s(sim::FaultKind::kBadUnit, 1);
    s.RunUntilLogged(4);
    s.window.Click(IDC_STOP_READ);
    s.RunUntilRest();
    EXPECT_EQ(s.window.GetText(IDC_PV), "");
    EXPECT_EQ(s.window.GetText(IDC_PV_UNIT), "");
    EXPECT_NE(s.window.GetText(IDC_CURRENT), "");
    EXPECT_TRUE(s.MessagesFrom(s.mark).empty());
}
