// The two control groups that keep the operator from starting a second
// operation while one runs, and the activity log.
#include "app/CTamselDlg.h"

#include "dialog/ControlIds.h"

namespace {

// Disabled when an operation starts.
constexpr int kDisabledOnStart[] = {
    IDC_PORT_LIST,   IDC_SEARCH_COM,   IDC_OPEN_COM,      IDC_HART_COMM,       IDC_POLL_ADDR,      IDC_SEARCH_ADDR,
    IDC_SET_ADDR,    IDC_AUTO_READ,    IDC_STOP_READ,     IDC_RANGE_UPPER,     IDC_RANGE_LOWER,    IDC_SET_RANGE,
    IDC_APPLY_0,     IDC_APPLY_100,    IDC_READ_RANGE,    IDC_TRIM_UPPER,      IDC_TRIM_LOWER,     IDC_APPLY_LOWER,
    IDC_APPLY_UPPER, IDC_SHIFT_ZERO,   IDC_READ_TRIM,     IDC_D_CURR,          IDC_A_CURR,         IDC_FIXED_CURR,
    IDC_EXIT_FIXED,  IDC_TRIM_4MA,     IDC_TRIM_20MA,     IDC_BURST_CMD1,      IDC_BURST_CMD2,     IDC_BURST_CMD3,
    IDC_ENTER_BURST, IDC_EXIT_BURST,   IDC_TRANS_FUNC,    IDC_READ_TRANS_FUNC, IDC_SET_TRANS_FUNC, IDC_UNIT_LIST,
    IDC_READ_UNIT,   IDC_SET_UNIT,     IDC_DAMPING,       IDC_READ_DAMPING,    IDC_SET_DAMPING,    IDC_TAG,
    IDC_DESCRIPTOR,  IDC_DATE,         IDC_READ_TAG,      IDC_SET_TAG,         IDC_MESSAGE,        IDC_READ_MESSAGE,
    IDC_SET_MESSAGE, IDC_ASSEMBLY,     IDC_READ_ASSEMBLY, IDC_SET_ASSEMBLY,    IDC_WRITE_PROTECT,  IDC_READ_WP,
    IDC_SET_WP,      IDC_ALARM,        IDC_READ_ALARM,    IDC_SET_ALARM,       IDC_DISPLAY,        IDC_READ_DISPLAY,
    IDC_SET_DISPLAY, IDC_READ_VERSION,
};

// Enabled when an operation ends. The "Set" buttons, "Set Addr", "Stop Read",
// "Search Com" and the port list are left to the rules that own them.
constexpr int kEnabledOnEnd[] = {
    IDC_OPEN_COM,    IDC_HART_COMM,       IDC_POLL_ADDR,     IDC_SEARCH_ADDR, IDC_AUTO_READ,   IDC_RANGE_UPPER,
    IDC_RANGE_LOWER, IDC_SET_RANGE,       IDC_APPLY_0,       IDC_APPLY_100,   IDC_READ_RANGE,  IDC_SHIFT_ZERO,
    IDC_READ_TRIM,   IDC_D_CURR,          IDC_A_CURR,        IDC_FIXED_CURR,  IDC_EXIT_FIXED,  IDC_TRIM_4MA,
    IDC_TRIM_20MA,   IDC_BURST_CMD1,      IDC_BURST_CMD2,    IDC_BURST_CMD3,  IDC_ENTER_BURST, IDC_EXIT_BURST,
    IDC_TRANS_FUNC,  IDC_READ_TRANS_FUNC, IDC_UNIT_LIST,     IDC_READ_UNIT,   IDC_DAMPING,     IDC_READ_DAMPING,
    IDC_TAG,         IDC_DESCRIPTOR,      IDC_DATE,          IDC_READ_TAG,    IDC_MESSAGE,     IDC_READ_MESSAGE,
    IDC_ASSEMBLY,    IDC_READ_ASSEMBLY,   IDC_WRITE_PROTECT, IDC_READ_WP,     IDC_ALARM,       IDC_READ_ALARM,
    IDC_DISPLAY,     IDC_READ_DISPLAY,    IDC_READ_VERSION,
};

// Enabled on end only while the "Trim Unit" field names a unit: trimming
// needs to know the unit of the numbers typed.
constexpr int kEnabledWithTrimUnit[] = {
    IDC_TRIM_UPPER,
    IDC_TRIM_LOWER,
    IDC_APPLY_LOWER,
    IDC_APPLY_UPPER,
};

constexpr int kLogTrimAt = 10;

}  // namespace

void CTamselDlg::DisableAllControls()
{
    for (int id : kDisabledOnStart)
        m_Wnd.Enable(id, false);
}

void CTamselDlg::EnableAllControls()
{
    for (int id : kEnabledOnEnd)
        m_Wnd.Enable(id, true);
    if (!m_Wnd.GetText(IDC_TRIM_UNIT).empty())
        for (int id : kEnabledWithTrimUnit)
            m_Wnd.Enable(id, true);
}

void CTamselDlg::AppendLog(std::string_view text)
{
    m_Wnd.ListAddString(IDC_LOG, text);
    m_Observers.LogLine(text);
}

// Scrolls the newest entry into view without leaving it highlighted, and keeps
// the log short: two entries go each time it has reached ten.
void CTamselDlg::TrimLog()
{
    const int n = m_Wnd.ListGetCount(IDC_LOG);
    m_Wnd.ListSetCurSel(IDC_LOG, n - 1);
    m_Wnd.ListSetCurSel(IDC_LOG, -1);
    if (n >= kLogTrimAt) {
        m_Wnd.ListDeleteString(IDC_LOG, 0);
        m_Wnd.ListDeleteString(IDC_LOG, 0);
    }
}
