#include "app/LoopReturn.h"

#include "dialog/ControlIds.h"
#include "text/Format.h"

namespace {
std::string Milliamps(float current) { return FormatText("%.3f mA", double{current}); }
}  // namespace

void LoopReturn::OnExit()
{
    const std::optional<float> fixed = m_Loop.FixedCurrent();
    // A second Exit while the loop is being returned closes at once.
    if (!fixed || m_Phase != Phase::Idle)
        return m_Dlg.window.EndDialog(IDCANCEL);
    const Answer answer = m_Dlg.window.AskYesNoCancel("The loop current is fixed at " + Milliamps(*fixed) +
                                                      ". Return it to the measured value before closing?");
    if (answer == Answer::Yes)
        return ReturnAndClose();
    if (answer == Answer::No) {
        m_Dlg.record.Note("closed with the loop current fixed at " + Milliamps(*fixed));
        m_Dlg.window.EndDialog(IDCANCEL);
    }
}

void LoopReturn::ReturnAndClose()
{
    m_Phase = Phase::AfterOperation;
    // Auto read runs until stopped; any other operation ends by itself.
    if (m_Dlg.operationRunning())
        return m_Reads.OnStopRead();
    AfterStep();
}

void LoopReturn::AfterStep()
{
    if (m_Phase == Phase::Idle || m_Dlg.operationRunning())
        return;
    // Read only now: the operation that ran until here may have been Fixed
    // Curr. itself.
    const std::optional<float> fixed = m_Loop.FixedCurrent();
    if (m_Phase == Phase::AfterOperation && fixed) {
        m_Dlg.record.Note("returning the loop current fixed at " + Milliamps(*fixed) + " before closing");
        m_Phase = Phase::Returning;
        return m_Dlg.click(IDC_EXIT_FIXED);
    }
    if (m_Phase == Phase::Returning)
        m_Dlg.record.Note(fixed ? "the loop current is still fixed at " + Milliamps(*fixed)
                                : "the loop current is returned");
    m_Phase = Phase::Idle;
    m_Dlg.window.EndDialog(IDCANCEL);
}
