// "Module 1 - Comm Setting": find the ports that open, open and close one.
#include "app/CTamselDlg.h"

#include "ui/dialog/ControlIds.h"

#include <string>

namespace {
constexpr std::string_view kOpenCaption = "Open Com";
constexpr std::string_view kCloseCaption = "Close Com";
}  // namespace

void CTamselDlg::OnSearchCom()
{
    DisableAllControls();
    m_Wnd.ComboResetContent(IDC_PORT_LIST);
    try {
        if (m_Comm.GetPortOpen())
            m_Comm.SetPortOpen(false);
    } catch (const SerialPortError&) {
    }

    int last = -1;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        try {
            m_Comm.SetCommPort(static_cast<std::int16_t>(port));
            m_Comm.SetPortOpen(true);
            m_Comm.SetPortOpen(false);
            last = m_Wnd.ComboAddString(IDC_PORT_LIST, "COM" + std::to_string(port));
            m_Wnd.ComboSetItemData(IDC_PORT_LIST, last, port);
        } catch (const SerialPortError&) {
            // A port that does not open is left out of the list.
        }
    }

    m_Wnd.Enable(IDC_SEARCH_COM, true);
    if (last >= 0) {
        m_Wnd.ComboSetCurSel(IDC_PORT_LIST, 0);
        m_Wnd.Enable(IDC_OPEN_COM, true);
        m_Wnd.Enable(IDC_PORT_LIST, true);
    }
}

void CTamselDlg::OnOpenCom()
{
    DisableAllControls();
    if (m_Wnd.GetText(IDC_OPEN_COM) == kOpenCaption) {
        const int port = m_Wnd.ComboGetItemData(IDC_PORT_LIST, m_Wnd.ComboGetCurSel(IDC_PORT_LIST));
        try {
            m_Comm.SetCommPort(static_cast<std::int16_t>(port));
            m_Comm.SetPortOpen(true);
        } catch (const SerialPortError&) {
            // Only the same port can be tried again.
            m_Wnd.Enable(IDC_OPEN_COM, true);
            return;
        }
        ResetReceive();
        m_Wnd.SetText(IDC_OPEN_COM, kCloseCaption);
        m_Wnd.Enable(IDC_OPEN_COM, true);
        m_Wnd.Enable(IDC_HART_COMM, true);
        m_Wnd.Enable(IDC_SEARCH_ADDR, true);
    } else {
        try {
            m_Comm.SetPortOpen(false);
        } catch (const SerialPortError&) {
        }
        m_Wnd.SetText(IDC_OPEN_COM, kOpenCaption);
        m_Wnd.Enable(IDC_OPEN_COM, true);
        m_Wnd.Enable(IDC_SEARCH_COM, true);
        m_Wnd.Enable(IDC_PORT_LIST, true);
    }
}
