// What the dialog object tells its observers beyond the log: a click on a
// push button before its handler runs, and the moment the tool is back at
// rest, whether the handler ended the operation at once or a step did.
#include "app/CTamselDlg.h"

#include "dialog/Layout.h"

void CTamselDlg::RunObserved(int id, Notify notify, void (*handler)(CTamselDlg&))
{
    const ControlSpec* control = FindControl(id);
    // Typing and choosing only prepare an operation; the hidden default
    // button does nothing.
    const bool pressable =
        control && (control->kind == ControlKind::Button || control->kind == ControlKind::RadioButton);
    if (notify != Notify::Clicked || !pressable || (control->style & kStyleHidden) != 0)
        return handler(*this);
    m_Machine.Observers().OperationStarted(id, m_Wnd.GetText(id), ReadOperationInputs(m_Wnd, id));
    handler(*this);
    if (!IsOperationRunning())
        m_Machine.Observers().OperationEnded();
}

void CTamselDlg::RunObservedStep()
{
    const bool wasRunning = IsOperationRunning();
    m_Machine.RunStep();
    if (wasRunning && !IsOperationRunning())
        m_Machine.Observers().OperationEnded();
}
