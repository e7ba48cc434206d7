#include "modules/ProcessVariables.h"

#include "dialog/ControlIds.h"
#include "hart/Units.h"
#include "text/Format.h"

namespace {
constexpr std::int16_t kMinimumItems = 2;
}

std::vector<StepEntry> ProcessVariables::Steps()
{
    return {
        PrepareStep(kCycleBegin),
        RunStepOf(kPvSend, [this] { SendUnlessStopped(1, kPvCheck); }),
        Run(kPvCheck, &ProcessVariables::CheckPv),
        RunStepOf(kCurrentSend, [this] { SendUnlessStopped(2, kCurrentCheck); }),
        Run(kCurrentCheck, &ProcessVariables::CheckCurrent),
        RunStepOf(kLoopEnd, [this] { EndOperation(); }),
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

// 13 and 15
void ProcessVariables::SendUnlessStopped(std::uint8_t command, std::int16_t checkState)
{
    if (m_bAutoRead == 0)
        return GoOnTo(kLoopEnd);
    Machine().SendRequest(command, checkState);
}

// 14: an unknown unit empties the two fields silently; the loop goes on.
void ProcessVariables::CheckPv()
{
    if (!Succeeded() || Reply().m_nReplyItems < kMinimumItems)
        return CountLoopFailure(kPvSend);
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
    if (!Succeeded() || Reply().m_nReplyItems < kMinimumItems)
        return CountLoopFailure(kCurrentSend);
    Wnd().SetText(IDC_PERCENT, FormatText("%.3f", double{Reply().m_fReplyValue[1]}));
    Wnd().SetText(IDC_CURRENT, FormatText("%.3f", double{Reply().m_fReplyValue[0]}));
    GoOnTo(kCycleBegin);
}

// The loop's own failure end: through state 17, so that "Stop Read" keeps
// the state it has.
void ProcessVariables::CountLoopFailure(std::int16_t sendState)
{
    if (TryAgain(sendState))
        return;
    Log("Communication fail!");
    GoOnTo(kLoopEnd);
}
