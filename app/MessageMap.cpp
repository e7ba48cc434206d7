// Which operation each control notification runs: the one place to look up
// what a control of the window does.
#include "app/CTamselDlg.h"

#include "dialog/ControlIds.h"

void CTamselDlg::OnCommand(int id, Notify notify)
{
    using N = Notify;
    struct Entry {
        int id;
        Notify notify;
        void (*handler)(CTamselDlg&);
    };
    static constexpr Entry kMessageMap[] = {
        {IDOK, N::Clicked, [](CTamselDlg& d) { d.OnOK(); }},
        {IDCANCEL, N::Clicked, [](CTamselDlg& d) { d.OnCancel(); }},
        // Module 1 - Comm Setting
        {IDC_SEARCH_COM, N::Clicked, [](CTamselDlg& d) { d.m_PortSetting.OnSearchCom(); }},
        {IDC_OPEN_COM, N::Clicked, [](CTamselDlg& d) { d.m_PortSetting.OnOpenCom(); }},
        // Module 2 - Online
        {IDC_HART_COMM, N::Clicked, [](CTamselDlg& d) { d.m_Online.OnHartCommunication(); }},
        {IDC_SEARCH_ADDR, N::Clicked, [](CTamselDlg& d) { d.m_Online.OnSearchAddress(); }},
        {IDC_SET_ADDR, N::Clicked, [](CTamselDlg& d) { d.m_Online.OnSetAddress(); }},
        {IDC_POLL_ADDR, N::EditChange, [](CTamselDlg& d) { d.m_Online.OnPollingAddressChange(); }},
        // Module 5 - Range Setting
        {IDC_READ_RANGE, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        // Module 9 - Common Settings
        {IDC_READ_TRANS_FUNC, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_TRANS_FUNC, N::SelChange, [](CTamselDlg& d) { d.m_CommonSettings.OnTransFuncChange(); }},
        {IDC_SET_TRANS_FUNC, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnSetTransFunc(); }},
        {IDC_READ_UNIT, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadPvUnit(); }},
        {IDC_UNIT_LIST, N::SelChange, [](CTamselDlg& d) { d.m_CommonSettings.OnPvUnitChange(); }},
        {IDC_SET_UNIT, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnSetPvUnit(); }},
        {IDC_READ_DAMPING, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_DAMPING, N::EditChange, [](CTamselDlg& d) { d.m_CommonSettings.OnDampingChange(); }},
        {IDC_SET_DAMPING, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnSetDamping(); }},
        // Module 10 - Specific Settings
        {IDC_READ_WP, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_READ_ALARM, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
    };
    for (const Entry& entry : kMessageMap)
        if (entry.id == id && entry.notify == notify)
            return RunObserved(id, notify, entry.handler);
}
