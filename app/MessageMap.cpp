// Which operation each control notification runs: the rows the modules and
// the shell bring, looked up by control and notification.
#include "app/CTamselDlg.h"

void CTamselDlg::OnCommand(int id, Notify notify)
{
    if (const Handler* handler = FindHandler(id, notify))
        RunObserved(*handler);
}

const Handler* CTamselDlg::FindHandler(int id, Notify notify) const
{
    for (const Handler& handler : m_Handlers)
        if (handler.id == id && handler.notify == notify)
            return &handler;
    return nullptr;
}
