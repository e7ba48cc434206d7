#include "ui/headless/HeadlessHost.h"

#include "dialog/ControlIds.h"

HeadlessHost::HeadlessHost() : window(MainDialogLayout(), timers), dlg(window, port)
{
    window.SetEventSink(&dlg);
    window.AddListObserver([this](int id, const std::string& text) {
        if (id == IDC_LOG)
            m_LogHistory.push_back(text);
    });
    dlg.OnInitDialog();
}
