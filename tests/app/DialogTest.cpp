// The dialog's shell (start-up, timers, the Status blink, closing, About), the
// control groups that keep a second operation from starting, and the log.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "ui/headless/HeadlessHost.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(Shell, StartUpTimersTheAboutItemAndTypingLimits)
{
    HeadlessHost host;
    EXPECT_EQ(host.timers.DueAt(TIMER_BLINK), 1000);
    EXPECT_EQ(host.window.SystemMenu(),
              (std::vector<std::pair<unsigned, std::string>>{{0x0010, "关于 Tamsel(&A)..."}}));
    const std::pair<int, int> limits[] = {{IDC_POLL_ADDR, 2}, {IDC_DAMPING, 6}, {IDC_MESSAGE, 32}};
    for (const auto& [id, limit] : limits) {
        host.window.Enable(id, true);
        ASSERT_TRUE(host.window.Type(id, std::string(40, '7')));
        EXPECT_EQ(host.window.GetText(id), std::string(limit, '7')) << id;
    }
    host.window.SetTimer(7, 50);
    host.window.SetTimer(TIMER_STEP, 10);
    host.window.SetTimer(TIMER_RX, 100);
    host.clock.AdvanceTo(100);
    for (int id : {7, TIMER_STEP, TIMER_RX})
        EXPECT_FALSE(host.timers.IsArmed(id)) << id;
    EXPECT_TRUE(host.timers.IsArmed(TIMER_BLINK)) << "the blink is never stopped";
    EXPECT_TRUE(host.window.ChooseSystemMenuItem(0x0010));
    for (unsigned id : {0x001Fu, 0xF060u, 0x0020u})  // About in any low bits, close, another
        host.dlg.OnSysCommand(id);
    EXPECT_EQ(host.window.AboutBoxRuns(), 2);
}

TEST(Shell, StatusBlinksEverySecondOnlyInBurst)
{
    HeadlessHost host;
    ASSERT_TRUE(host.window.Click(IDC_STATUS));  // an automatic radio button checks itself
    std::string seen;
    for (int t : {999, 1000, 1999, 2000, 2999, 3000, 3999, 4000, 5000, 6000}) {
        host.dlg.Machine().m_bBurst = t > 1000 && t <= 4000;
        host.clock.AdvanceTo(t);
        seen += std::to_string(host.window.GetCheck(IDC_STATUS));
    }
    EXPECT_EQ(seen, "1001100100");
}

TEST(Shell, EscAndExitEndTheRunEnterDoesNot)
{
    HeadlessHost host, other;
    host.window.PressEnter();
    EXPECT_FALSE(host.window.Ended());
    host.window.PressEscape();
    EXPECT_TRUE(other.window.Click(IDCANCEL));
    for (const HeadlessHost* h : {&host, &other})
        EXPECT_TRUE(h->window.Ended() && h->window.EndResult() == IDCANCEL);
}

// Each check starts from the other state, so that a control left alone shows.
TEST(ControlGroups, OnStartAndEndOfAnOperation)
{
    const struct {
        const char* name;
        int id;
        bool disabledOnStart, enabledOnEnd, needsTrimUnit;
    } rows[] = {
        {"SearchComIsLeftToThePortRules", IDC_SEARCH_COM, true, false, false},
        {"ExitStays", IDCANCEL, false, false, false},
        {"LogStays", IDC_LOG, false, false, false},
        {"StatusStays", IDC_STATUS, false, false, false},
        {"AutoRead", IDC_AUTO_READ, true, true, false},
        {"SetButtonsWaitForAnEdit", IDC_SET_DAMPING, true, false, false},
        {"ReadVersion", IDC_READ_VERSION, true, true, false},
        {"TrimUpperNeedsTheTrimUnit", IDC_TRIM_UPPER, true, true, true},
        {"ApplyLowerNeedsTheTrimUnit", IDC_APPLY_LOWER, true, true, true},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.name);
        HeadlessHost host;
        host.window.Enable(c.id, true);
        host.dlg.DisableAllControls();
        EXPECT_EQ(host.window.IsEnabled(c.id), !c.disabledOnStart) << "on start";
        host.window.Enable(c.id, false);
        host.dlg.EnableAllControls();
        EXPECT_EQ(host.window.IsEnabled(c.id), c.enabledOnEnd && !c.needsTrimUnit) << "on end";
        host.window.SetText(IDC_TRIM_UNIT, "kPa");
        host.dlg.EnableAllControls();
        EXPECT_EQ(host.window.IsEnabled(c.id), c.enabledOnEnd) << "on end, a trim unit known";
    }
}

// The newest entry is scrolled into view, not left highlighted; two entries go
// each time the log has reached ten.
TEST(ActivityLog, KeepsNineDropsTheTwoOldestAtTen)
{
    HeadlessHost host;
    host.dlg.TrimLog();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(host.window.ListGetCount(IDC_LOG), i);
        host.dlg.AppendLog("entry " + std::to_string(i));
        host.dlg.TrimLog();
        EXPECT_EQ(host.window.ListGetCurSel(IDC_LOG), -1);
    }
    EXPECT_EQ(host.window.ListShown(IDC_LOG), 9) << "the tenth entry was in view";
    ASSERT_EQ(host.window.ListGetCount(IDC_LOG), 8);
    EXPECT_EQ(host.window.ListGetText(IDC_LOG, 0), "entry 2");
    for (int i = 0; i < 4; ++i)
        host.window.ListAddString(IDC_LOG, "more");
    host.dlg.TrimLog();
    EXPECT_EQ(host.window.ListGetCount(IDC_LOG), 10) << "several entries between trims: still two go";
}

}  // namespace
