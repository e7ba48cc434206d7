// The window shell: start-up, timer routing, the Status blink, closing, About.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "ui/headless/HeadlessHost.h"

#include <gtest/gtest.h>

TEST(Shell, StartUpArmsTheBlinkAndAddsTheAboutItem)
{
    HeadlessHost host;
    EXPECT_TRUE(host.timers.IsArmed(TIMER_BLINK));
    EXPECT_EQ(host.timers.DueAt(TIMER_BLINK), 1000);
    ASSERT_EQ(host.window.SystemMenu().size(), 1u);
    EXPECT_EQ(host.window.SystemMenu()[0].first, 0x0010u);
    EXPECT_EQ(host.window.SystemMenu()[0].second, "关于 Tamsel(&A)...");
    EXPECT_EQ(host.dlg.Machine().m_bBurst, 0);
}

TEST(Shell, TextLimitsApplyToTyping)
{
    HeadlessHost host;
    const std::pair<int, int> limits[] = {{IDC_POLL_ADDR, 2}, {IDC_D_CURR, 6},   {IDC_A_CURR, 6},
                                          {IDC_DAMPING, 6},   {IDC_TAG, 8},      {IDC_DESCRIPTOR, 16},
                                          {IDC_DATE, 10},     {IDC_MESSAGE, 32}, {IDC_ASSEMBLY, 8}};
    for (auto [id, limit] : limits) {
        host.window.Enable(id, true);
        ASSERT_TRUE(host.window.Type(id, std::string(40, '7'))) << id;
        EXPECT_EQ(host.window.GetText(id).size(), static_cast<std::size_t>(limit)) << id;
    }
    // The program may still write longer texts.
    host.window.SetText(IDC_TAG, "0123456789");
    EXPECT_EQ(host.window.GetText(IDC_TAG), "0123456789");
}

TEST(Shell, StatusStaysClearWhileNotInBurst)
{
    HeadlessHost host;
    ASSERT_TRUE(host.window.Click(IDC_STATUS));
    EXPECT_EQ(host.window.GetCheck(IDC_STATUS), 1) << "clicking an automatic radio button checks it";
    host.clock.AdvanceTo(999);
    EXPECT_EQ(host.window.GetCheck(IDC_STATUS), 1);
    host.clock.AdvanceTo(1000);
    EXPECT_EQ(host.window.GetCheck(IDC_STATUS), 0);
}

TEST(Shell, StatusBlinksEverySecondInBurst)
{
    HeadlessHost host;
    host.dlg.Machine().m_bBurst = 1;
    const int expected[] = {1, 0, 1, 0};
    for (int i = 0; i < 4; ++i) {
        host.clock.AdvanceTo(1000 * (i + 1) - 1);
        EXPECT_EQ(host.window.GetCheck(IDC_STATUS), i == 0 ? 0 : expected[i - 1]) << "before tick " << i;
        host.clock.AdvanceTo(1000 * (i + 1));
        EXPECT_EQ(host.window.GetCheck(IDC_STATUS), expected[i]) << "at tick " << i;
    }
    host.dlg.Machine().m_bBurst = 0;
    host.clock.AdvanceTo(6000);
    EXPECT_EQ(host.window.GetCheck(IDC_STATUS), 0);
}

TEST(Shell, UnknownTimersAreStoppedAndOneShotTimersFireOnce)
{
    HeadlessHost host;
    host.window.SetTimer(7, 50);
    host.clock.AdvanceTo(50);
    EXPECT_FALSE(host.timers.IsArmed(7));

    host.window.SetTimer(TIMER_STEP, 10);
    host.clock.AdvanceTo(60);
    EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP));
    host.window.SetTimer(TIMER_RX, 100);
    host.clock.AdvanceTo(160);
    EXPECT_FALSE(host.timers.IsArmed(TIMER_RX));
    EXPECT_TRUE(host.timers.IsArmed(TIMER_BLINK)) << "the blink is never stopped";
}

TEST(Shell, EscAndExitEndTheRunEnterDoesNot)
{
    HeadlessHost host;
    host.window.PressEnter();
    EXPECT_FALSE(host.window.Ended());
    host.window.PressEscape();
    EXPECT_TRUE(host.window.Ended());
    EXPECT_EQ(host.window.EndResult(), IDCANCEL);

    HeadlessHost other;
    EXPECT_TRUE(other.window.Click(IDCANCEL));
    EXPECT_TRUE(other.window.Ended());
}

TEST(Shell, AboutOpensForItsCommandInAnyLowBits)
{
    HeadlessHost host;
    EXPECT_TRUE(host.window.ChooseSystemMenuItem(0x0010));
    EXPECT_EQ(host.window.AboutBoxRuns(), 1);
    host.dlg.OnSysCommand(0x001F);
    EXPECT_EQ(host.window.AboutBoxRuns(), 2);
    host.dlg.OnSysCommand(0xF060);  // close
    host.dlg.OnSysCommand(0x0020);
    EXPECT_EQ(host.window.AboutBoxRuns(), 2);
}
