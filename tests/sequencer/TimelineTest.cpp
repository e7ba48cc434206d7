// The step machine's timeline, to the millisecond, on the virtual clock.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "hart/ResultCodes.h"
#include "sequencer/StepTable.h"
#include "tests/support/OpenPortHost.h"
#include "ui/headless/SimulatedLine.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct OpenHost : OpenPortHost {
    OpenHost()
    {
        window.AddListObserver([this](int, const std::string& text) { loggedAt[text] = clock.Now(); });
    }
    // Virtual time at which each log text was last appended.
    std::map<std::string, std::int64_t> loggedAt;
    // Starts the damping write (command 34) as its "Set" button would, to
    // the simulator's default transmitter.
    void StartDampingWrite()
    {
        const std::uint8_t id[5] = {0xB5, 0x7C, 0x01, 0x02, 0x03};
        std::copy(id, id + 5, dlg.Machine().m_UniqueId);
        window.SetText(IDC_DAMPING, "2.5");
        dlg.OnCommand(IDC_SET_DAMPING, Notify::Clicked);
    }
    bool Idle() const { return !dlg.IsOperationRunning(); }
    std::vector<std::int64_t> SendTimesFrom(std::int64_t t0) const
    {
        std::vector<std::int64_t> times;
        for (std::int64_t t : port.WriteTimes())
            times.push_back(t - t0);
        return times;
    }
};

}  // namespace

TEST(Timeline, ThreeTriesWithoutATransmitterThenCommunicationFail)
{
    OpenHost host;
    host.StartDampingWrite();
    ASSERT_TRUE(host.clock.AdvanceUntil([&] { return host.Idle(); }, 20000));

    ASSERT_EQ(host.port.WriteTimes().size(), 3u);
    const std::int64_t firstSend = host.port.WriteTimes()[0];
    EXPECT_EQ(firstSend, 30) << "prepare, send and the command's send state, 10 ms apart";
    EXPECT_EQ(host.SendTimesFrom(firstSend), (std::vector<std::int64_t>{0, 3020, 6040}));
    EXPECT_EQ(host.loggedAt.at("Communication fail!") - firstSend, 8050);
    EXPECT_TRUE(host.window.IsEnabled(IDC_HART_COMM)) << "the script's end enabled the controls";
    EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP));
}

TEST(Timeline, AReplyCutsTheTimeOutShort)
{
    OpenHost host;
    SimulatedLine line(host.clock, host.port);
    line.modem().SetImmediate(true);
    host.StartDampingWrite();
    ASSERT_TRUE(host.clock.AdvanceUntil([&] { return host.Idle(); }, 20000));
    ASSERT_EQ(host.port.WriteTimes().size(), 1u);
    // Reply at once, 100 ms quiet time, parse 10 ms later, check 10 ms after.
    EXPECT_EQ(host.loggedAt.at("Setting succeed!") - host.port.WriteTimes()[0], 100 + 10 + 10);
}

TEST(Timeline, RefusedOutputSkipsTheParseAndCountsAsATry)
{
    OpenHost host;
    host.port.SetFailWrites(true);
    std::vector<std::int64_t> attempts;
    std::int16_t lastResult = 0;
    host.StartDampingWrite();
    while (!host.Idle() && host.clock.Now() < 20000) {
        if (host.dlg.Machine().m_nStep == 527)
            attempts.push_back(host.clock.Now() + 10);  // the send state runs at the next tick
        host.clock.AdvanceBy(10);
        if (host.dlg.Machine().m_nStep == 115)
            lastResult = host.dlg.Machine().m_nResult;
    }
    EXPECT_EQ(lastResult, kResultSendFailed);
    ASSERT_EQ(attempts.size(), 3u);
    EXPECT_EQ(attempts[1] - attempts[0], 1020);
    EXPECT_EQ(attempts[2] - attempts[1], 1020);
    EXPECT_EQ(host.loggedAt.at("Communication fail!") - attempts[2], 10) << "straight back to the check state";
    EXPECT_TRUE(host.LogHistory().size() == 1 && host.LogHistory()[0] == "Communication fail!")
        << "a refused request is not logged";
}

TEST(Timeline, RestStateRunsNothing)
{
    OpenHost host;
    host.dlg.DisableAllControls();
    host.dlg.Machine().RunStep();
    EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP));
    EXPECT_EQ(host.dlg.Machine().m_nStep, kRestState);
    EXPECT_FALSE(host.window.IsEnabled(IDC_HART_COMM)) << "the rest state touches no control";
}

TEST(Timeline, AStateNoTableHoldsEndsTheOperationAndSaysSoOnStandardError)
{
    OpenHost host;
    for (std::int16_t state : {45, 100, 152, 207, 500, 547, 623, -1}) {
        host.dlg.DisableAllControls();
        host.dlg.Machine().m_nStep = state;
        testing::internal::CaptureStderr();
        host.dlg.Machine().RunStep();
        EXPECT_NE(testing::internal::GetCapturedStderr().find("no state " + std::to_string(state)), std::string::npos);
        EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP)) << state;
        EXPECT_EQ(host.dlg.Machine().m_nStep, kRestState) << state;
        EXPECT_TRUE(host.window.IsEnabled(IDC_AUTO_READ)) << "the window is given back";
    }
    EXPECT_TRUE(host.port.Writes().empty());
    EXPECT_TRUE(host.LogHistory().empty()) << "a programming error is not the operator's business";
}

TEST(Timeline, AStrayReplyAfterTheEndChangesNothing)
{
    OpenHost host;
    SimulatedLine line(host.clock, host.port);
    line.modem().SetImmediate(true);
    host.StartDampingWrite();
    ASSERT_TRUE(host.clock.AdvanceUntil([&] { return host.Idle(); }, 20000));
    const auto log = host.LogHistory();
    const auto writes = host.port.Writes().size();

    // Burst traffic arriving while nothing runs: not a reply, but it tells
    // that the transmitter is in burst mode; nothing else happens.
    host.port.DeliverTextAfter(0, "\x01P0086F57C01020301070000"
                                  "0C3F800000"
                                  "BA\r\n");
    host.clock.AdvanceBy(2000);
    EXPECT_EQ(host.dlg.Machine().m_bBurst, 1);
    EXPECT_EQ(host.LogHistory(), log);
    EXPECT_EQ(host.port.Writes().size(), writes);
    EXPECT_FALSE(host.dlg.IsOperationRunning());
}

TEST(Timeline, AReplyDuringTheRetryDelayShortensIt)
{
    OpenHost host;
    host.StartDampingWrite();
    // First try times out (sent at 30, parse at 2030, check at 2040 arms 1000).
    host.clock.AdvanceTo(2040);
    ASSERT_EQ(host.dlg.Machine().m_nStep, 114);
    ASSERT_EQ(host.timers.DueAt(TIMER_STEP), 3040);
    // The first try's reply, late: 86 B5 7C 01 02 03 22 06 00 00 40 20 00 00 0B.
    host.port.DeliverTextAfter(0, "\x01P0086B57C01020322060000402000000B\r\n");
    host.clock.AdvanceTo(2140);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), 2150) << "the validated line re-armed the step timer";
}

TEST(StepTable, RefusesAStateClaimedTwiceOrOutsideTheScriptRanges)
{
    StepTable table;
    table.Add({PrepareStep(21)});
    for (std::int16_t state : {21, 0, 501, 622})
        EXPECT_THROW(table.Add({PrepareStep(state)}), StepTableError) << state;
    EXPECT_THROW(table.Add({SendStep(22, 3, 23)}), StepTableError) << "command 3 has no send state";
    EXPECT_NO_THROW(table.Add({SendStep(22, 35, 23)}));
}
