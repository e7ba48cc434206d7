// Which operation each control notification runs: the one place to look up
// what a control of the window does.
#include "app/CTamselDlg.h"

#include "dialog/ControlIds.h"

struct CTamselDlg::MessageEntry {
    int id;
    Notify notify;
    void (*handler)(CTamselDlg&);
};

void CTamselDlg::OnCommand(int id, Notify notify)
{
    if (const MessageEntry* entry = FindHandler(id, notify))
        RunObserved(id, notify, entry->handler);
}

bool CTamselDlg::HasHandler(int id, Notify notify) { return FindHandler(id, notify) != nullptr; }

const CTamselDlg::MessageEntry* CTamselDlg::FindHandler(int id, Notify notify)
{
    using N = Notify;
    static constexpr MessageEntry kMessageMap[] = {
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
        // Module 4 - Process Variables
        {IDC_AUTO_READ, N::Clicked, [](CTamselDlg& d) { d.m_ProcessVariables.OnAutoRead(); }},
        {IDC_STOP_READ, N::Clicked, [](CTamselDlg& d) { d.m_ProcessVariables.OnStopRead(); }},
        // Module 5 - Range Setting
        {IDC_READ_RANGE, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_SET_RANGE, N::Clicked, [](CTamselDlg& d) { d.m_RangeSetting.OnSetRange(); }},
        {IDC_APPLY_0, N::Clicked, [](CTamselDlg& d) { d.m_RangeSetting.OnApply0Percent(); }},
        {IDC_APPLY_100, N::Clicked, [](CTamselDlg& d) { d.m_RangeSetting.OnApply100Percent(); }},
        // Module 6 - Sensor Trim
        {IDC_READ_TRIM, N::Clicked, [](CTamselDlg& d) { d.m_SensorTrim.OnReadTrim(); }},
        {IDC_SHIFT_ZERO, N::Clicked, [](CTamselDlg& d) { d.m_SensorTrim.OnShiftZero(); }},
        {IDC_APPLY_LOWER, N::Clicked, [](CTamselDlg& d) { d.m_SensorTrim.OnApplyLower(); }},
        {IDC_APPLY_UPPER, N::Clicked, [](CTamselDlg& d) { d.m_SensorTrim.OnApplyUpper(); }},
        // Module 7 - Loop Test/Trim
        {IDC_FIXED_CURR, N::Clicked, [](CTamselDlg& d) { d.m_LoopTest.OnFixedCurrent(); }},
        {IDC_EXIT_FIXED, N::Clicked, [](CTamselDlg& d) { d.m_LoopTest.OnExitFixed(); }},
        {IDC_TRIM_4MA, N::Clicked, [](CTamselDlg& d) { d.m_LoopTest.OnTrim4mA(); }},
        {IDC_TRIM_20MA, N::Clicked, [](CTamselDlg& d) { d.m_LoopTest.OnTrim20mA(); }},
        // Module 8 - Burst Setting
        {IDC_BURST_CMD1, N::Clicked, [](CTamselDlg& d) { d.m_BurstSetting.OnBurstCmd1(); }},
        {IDC_BURST_CMD2, N::Clicked, [](CTamselDlg& d) { d.m_BurstSetting.OnBurstCmd2(); }},
        {IDC_BURST_CMD3, N::Clicked, [](CTamselDlg& d) { d.m_BurstSetting.OnBurstCmd3(); }},
        {IDC_ENTER_BURST, N::Clicked, [](CTamselDlg& d) { d.m_BurstSetting.OnEnterBurst(); }},
        {IDC_EXIT_BURST, N::Clicked, [](CTamselDlg& d) { d.m_BurstSetting.OnExitBurst(); }},
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
        {IDC_TAG, N::EditChange, [](CTamselDlg& d) { d.m_IdentificationTexts.OnIdentTextChange(); }},
        {IDC_DESCRIPTOR, N::EditChange, [](CTamselDlg& d) { d.m_IdentificationTexts.OnIdentTextChange(); }},
        {IDC_DATE, N::EditChange, [](CTamselDlg& d) { d.m_IdentificationTexts.OnIdentTextChange(); }},
        {IDC_READ_TAG, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnReadTagDescDate(); }},
        {IDC_SET_TAG, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnSetTagDescDate(); }},
        {IDC_MESSAGE, N::EditChange, [](CTamselDlg& d) { d.m_IdentificationTexts.OnMessageChange(); }},
        {IDC_READ_MESSAGE, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnReadMessage(); }},
        {IDC_SET_MESSAGE, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnSetMessage(); }},
        {IDC_ASSEMBLY, N::EditChange, [](CTamselDlg& d) { d.m_IdentificationTexts.OnAssemblyChange(); }},
        {IDC_READ_ASSEMBLY, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnReadAssembly(); }},
        {IDC_SET_ASSEMBLY, N::Clicked, [](CTamselDlg& d) { d.m_IdentificationTexts.OnSetAssembly(); }},
        // Module 10 - Specific Settings
        {IDC_READ_WP, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_READ_ALARM, N::Clicked, [](CTamselDlg& d) { d.m_CommonSettings.OnReadSettings(); }},
        {IDC_WRITE_PROTECT, N::SelChange, [](CTamselDlg& d) { d.m_SpecificSettings.OnWriteProtectChange(); }},
        {IDC_SET_WP, N::Clicked, [](CTamselDlg& d) { d.m_SpecificSettings.OnSetWriteProtect(); }},
        {IDC_ALARM, N::SelChange, [](CTamselDlg& d) { d.m_SpecificSettings.OnAlarmChange(); }},
        {IDC_SET_ALARM, N::Clicked, [](CTamselDlg& d) { d.m_SpecificSettings.OnSetAlarm(); }},
        {IDC_DISPLAY, N::SelChange, [](CTamselDlg& d) { d.m_SpecificSettings.OnDisplayChange(); }},
        {IDC_READ_DISPLAY, N::Clicked, [](CTamselDlg& d) { d.m_SpecificSettings.OnReadDisplay(); }},
        {IDC_SET_DISPLAY, N::Clicked, [](CTamselDlg& d) { d.m_SpecificSettings.OnSetDisplay(); }},
        {IDC_READ_VERSION, N::Clicked, [](CTamselDlg& d) { d.m_SpecificSettings.OnReadVersion(); }},
    };
    for (const MessageEntry& entry : kMessageMap)
        if (entry.id == id && entry.notify == notify)
            return &entry;
    return nullptr;
}
