// What the dialog object tells its observers beyond the log: a click on a
// push button before its handler runs, and the moment the tool is back at
// rest, whether the handler ended the operation at once, a step did, or the
// program's end cut it short.
#include "app/CTamselDlg.h"

#include "dialog/Layout.h"

void CTamselDlg::RunObserved(const Handler& handler)
{
    const ControlSpec* control = FindControl(handler.id);
    // Typing and choosing only prepare an operation; the hidden default
    // button does nothing.
    const bool pressable =
        control && (control->kind == ControlKind::Button || control->kind == ControlKind::RadioButton);
    if (handler.notify != Notify::Clicked || !pressable || (control->style & kStyleHidden) != 0)
        return handler.run();
    m_Observers.OperationStarted(handler.id, m_Wnd.GetText(handler.id), ReadOperationInputs(m_Wnd, handler.inputs));
    handler.run();
    if (!IsOperationRunning())
        m_Observers.OperationEnded();
}

void CTamselDlg::RunObservedStep()
{
    const bool wasRunning = IsOperationRunning();
    m_Machine.RunStep();
    if (wasRunning && !IsOperationRunning())
        EndObserved();
}

void CTamselDlg::EndObserved()
{
    if (m_Machine.WasInterrupted())
        m_Observers.OperationInterrupted(m_InterruptCause);
    else
        m_Observers.OperationEnded();
}

void CTamselDlg::Interrupt(std::string_view cause)
{
    m_InterruptCause = cause;
    if (m_PortSetting.Opening()) {
        m_PortSetting.AbandonOpening();
        return m_Observers.OperationInterrupted(cause);
    }
    const bool wasRunning = IsOperationRunning();
    m_Machine.Interrupt();
    if (wasRunning && !IsOperationRunning())
        EndObserved();
}
