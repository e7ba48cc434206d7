#include "modules/ProcessVariables.h"

#include "dialog/ControlIds.h"
#include "hart/Units.h"
#include "text/Format.h"

namespace {
constexpr std::int16_t kMinimumItems = 2;
}

std::vector<StepEntry> ProcessVariables::Steps()
{
    // Each send waits for Stop Read; a third failure in a row ends the loop.
    const auto loopExchange = [this](StepEntry row) {
        return std::move(row)
            .Items(ItemRule::AtLeast, kMinimumItems)
            .SendOnlyIf([this] { return GoingOn(); })
            .WhenOutOfTries([this] {
                Log("Communication fail!");
                GoOnTo(kLoopEnd);
            });
    };
    return {
        loopExchange(Exchange(kCycleBegin, 1, &ProcessVariables::CheckPv)),
        loopExchange(Exchange(kCurrentSend, 2, &ProcessVariables::CheckCurrent).WithoutPrepare()),
        RunStepOf(kLoopEnd, [this] { EndOperation(); }),
    };
}

std::vector<Handler> ProcessVariables::Handlers()
{
    return {
        On(IDC_AUTO_READ, &ProcessVariables::OnAutoRead),
        On(IDC_STOP_READ, &ProcessVariables::OnStopRead),
    };
}

void ProcessVariables::OnAutoRead()
{
    StartScript(kCycleBegin);
    Wnd().Enable(IDC_STOP_READ, true);
    m_bAutoRead = 1;
}

// The loop sees the flag at its next send; an exchange under way completes.
void ProcessVariables::OnStopRead()
{
    Wnd().Enable(IDC_STOP_READ, false);
    m_bAutoRead = 0;
}

// 13 and 15: the loop sees Stop Read at its next send; every end of the
// loop passes through state 17, so that "Stop Read" keeps the state it has.
bool ProcessVariables::GoingOn()
{
    if (m_bAutoRead == 0)
        GoOnTo(kLoopEnd);
    return m_bAutoRead != 0;
}

// 14: an unknown unit empties the two fields silently; the loop goes on.
void ProcessVariables::CheckPv()
{
    if (IsBadUnitCode(static_cast<std::uint8_t>(Reply().m_nReplyCode[0]))) {
        Wnd().SetText(IDC_PV, "");
        Wnd().SetText(IDC_PV_UNIT, "");
    } else {
        Wnd().SetText(IDC_PV, FormatText("%+.4e", double{Reply().m_fReplyValue[0]}));
        Wnd().SetText(IDC_PV_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    }
    GoOnTo(kCurrentSend);
}

// 16
void ProcessVariables::CheckCurrent()
{
    Wnd().SetText(IDC_PERCENT, FormatText("%.3f", double{Reply().m_fReplyValue[1]}));
    Wnd().SetText(IDC_CURRENT, FormatText("%.3f", double{Reply().m_fReplyValue[0]}));
    GoOnTo(kCycleBegin);
}
