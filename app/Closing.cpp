// Closing the window while the loop current is fixed: the control system
// reads that current as the process value, so the operator is asked whether
// the tool gives the loop back before it goes.
#include "app/CTamselDlg.h"

#include "dialog/ControlIds.h"
#include "text/Format.h"

namespace {
std::string Milliamps(float current) { return FormatText("%.3f mA", double{current}); }
}  // namespace

void CTamselDlg::OnCancel()
{
    const std::optional<float> fixed = FixedLoopCurrent();
    // A second Exit while the loop is being returned closes at once.
    if (!fixed || m_Closing != Closing::No)
        return m_Wnd.EndDialog(IDCANCEL);
    const Answer answer = m_Wnd.AskYesNoCancel("The loop current is fixed at " + Milliamps(*fixed) +
                                               ". Return it to the measured value before closing?");
    if (answer == Answer::Yes)
        return ReturnLoopAndClose();
    if (answer == Answer::No) {
        Note("closed with the loop current fixed at " + Milliamps(*fixed));
        m_Wnd.EndDialog(IDCANCEL);
    }
}

void CTamselDlg::ReturnLoopAndClose()
{
    if (const std::optional<float> fixed = FixedLoopCurrent())
        Note("returning the loop current fixed at " + Milliamps(*fixed) + " before closing");
    m_Closing = Closing::AfterOperation;
    // Auto read runs until stopped; any other operation ends by itself.
    if (IsOperationRunning())
        return m_ProcessVariables.OnStopRead();
    GoOnClosing();
}

void CTamselDlg::GoOnClosing()
{
    if (m_Closing == Closing::No || IsOperationRunning())
        return;
    if (m_Closing == Closing::AfterOperation && FixedLoopCurrent()) {
        m_Closing = Closing::ReturningLoop;
        OnCommand(IDC_EXIT_FIXED, Notify::Clicked);
        return;
    }
    if (m_Closing == Closing::ReturningLoop) {
        const std::optional<float> fixed = FixedLoopCurrent();
        Note(fixed ? "the loop current is still fixed at " + Milliamps(*fixed) : "the loop current is returned");
    }
    m_Closing = Closing::No;
    m_Wnd.EndDialog(IDCANCEL);
}
