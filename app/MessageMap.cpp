// Which operation each control notification runs: the one place to look up
// what a control of the window does.
#include "app/CTamselDlg.h"

#include "ui/dialog/ControlIds.h"

namespace {

struct MessageMapEntry {
    int id;
    Notify notify;
    void (CTamselDlg::*handler)();
};

constexpr MessageMapEntry kMessageMap[] = {
    {IDOK, Notify::Clicked, &CTamselDlg::OnOK},
    {IDCANCEL, Notify::Clicked, &CTamselDlg::OnCancel},
    // Module 1 - Comm Setting
    {IDC_SEARCH_COM, Notify::Clicked, &CTamselDlg::OnSearchCom},
    {IDC_OPEN_COM, Notify::Clicked, &CTamselDlg::OnOpenCom},
    // Module 2 - Online
    {IDC_HART_COMM, Notify::Clicked, &CTamselDlg::OnHartCommunication},
    {IDC_SEARCH_ADDR, Notify::Clicked, &CTamselDlg::OnSearchAddress},
    {IDC_SET_ADDR, Notify::Clicked, &CTamselDlg::OnSetAddress},
    {IDC_POLL_ADDR, Notify::EditChange, &CTamselDlg::OnPollingAddressChange},
    // Module 5 - Range Setting
    {IDC_READ_RANGE, Notify::Clicked, &CTamselDlg::OnReadSettings},
    // Module 9 - Common Settings
    {IDC_READ_TRANS_FUNC, Notify::Clicked, &CTamselDlg::OnReadSettings},
    {IDC_TRANS_FUNC, Notify::SelChange, &CTamselDlg::OnTransFuncChange},
    {IDC_SET_TRANS_FUNC, Notify::Clicked, &CTamselDlg::OnSetTransFunc},
    {IDC_READ_UNIT, Notify::Clicked, &CTamselDlg::OnReadPvUnit},
    {IDC_UNIT_LIST, Notify::SelChange, &CTamselDlg::OnPvUnitChange},
    {IDC_SET_UNIT, Notify::Clicked, &CTamselDlg::OnSetPvUnit},
    {IDC_READ_DAMPING, Notify::Clicked, &CTamselDlg::OnReadSettings},
    {IDC_DAMPING, Notify::EditChange, &CTamselDlg::OnDampingChange},
    {IDC_SET_DAMPING, Notify::Clicked, &CTamselDlg::OnSetDamping},
    // Module 10 - Specific Settings
    {IDC_READ_WP, Notify::Clicked, &CTamselDlg::OnReadSettings},
    {IDC_READ_ALARM, Notify::Clicked, &CTamselDlg::OnReadSettings},
};

}  // namespace

void CTamselDlg::OnCommand(int id, Notify notify)
{
    for (const MessageMapEntry& entry : kMessageMap)
        if (entry.id == id && entry.notify == notify) {
            (this->*entry.handler)();
            return;
        }
}
