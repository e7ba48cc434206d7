// "Module 1 - Comm Setting": find the ports that open, open and close one.
#include "modules/PortSetting.h"

#include "dialog/ControlIds.h"

#include <string>

namespace {
constexpr std::string_view kOpenCaption = "Open Com";
constexpr std::string_view kCloseCaption = "Close Com";
}  // namespace

std::vector<Handler> PortSetting::Handlers()
{
    return {
        On(IDC_SEARCH_COM, &PortSetting::OnSearchCom),
        On(IDC_OPEN_COM, &PortSetting::OnOpenCom, {IDC_PORT_LIST}),
    };
}

void PortSetting::OnSearchCom()
{
    DisableAllControls();
    Wnd().ComboResetContent(IDC_PORT_LIST);
    if (m_Comm.GetPortOpen())
        Close();

    int last = -1;
    std::string leftOut;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        try {
            m_Comm.SetCommPort(static_cast<std::int16_t>(port));
            m_Comm.SetPortOpen(true);
            m_Comm.SetPortOpen(false);
            last = Wnd().ComboAddString(IDC_PORT_LIST, "COM" + std::to_string(port));
            Wnd().ComboSetItemData(IDC_PORT_LIST, last, port);
        } catch (const SerialPortError& e) {
            // A port that does not open is left out of the list; the record
            // keeps why, all ports in one line.
            leftOut += (leftOut.empty() ? "" : "; ") + ("COM" + std::to_string(port)) + ": " + e.what();
        }
    }
    if (!leftOut.empty())
        ReportError("Search Com left out " + leftOut);

    Wnd().Enable(IDC_SEARCH_COM, true);
    if (last >= 0) {
        Wnd().ComboSetCurSel(IDC_PORT_LIST, 0);
        Wnd().Enable(IDC_OPEN_COM, true);
        Wnd().Enable(IDC_PORT_LIST, true);
    }
}

void PortSetting::OnOpenCom()
{
    DisableAllControls();
    if (Wnd().GetText(IDC_OPEN_COM) == kOpenCaption) {
        const int port = Wnd().ComboGetItemData(IDC_PORT_LIST, Wnd().ComboGetCurSel(IDC_PORT_LIST));
        try {
            m_Comm.SetCommPort(static_cast<std::int16_t>(port));
            m_Comm.SetPortOpen(true);
        } catch (const SerialPortError& e) {
            // Only the same port can be tried again.
            ReportError("Open Com: COM" + std::to_string(port) + ": " + e.what());
            Wnd().Enable(IDC_OPEN_COM, true);
            return;
        }
        // A HART-IP session is usable only once the gateway has answered:
        // until then every control stays disabled.
        m_bOpening = m_Link.Open() == Link::OpenState::Pending;
        if (!m_bOpening)
            ShowOpenPort();
    } else {
        ShowClosedPort();
    }
}

void PortSetting::OnLinkOpened(bool usable)
{
    m_bOpening = false;
    if (usable)
        return ShowOpenPort();
    Close();
    Wnd().Enable(IDC_OPEN_COM, true);  // as after a port that did not open
}

void PortSetting::AbandonOpening()
{
    m_bOpening = false;
    ShowClosedPort();
}

void PortSetting::ShowOpenPort()
{
    Wnd().SetText(IDC_OPEN_COM, kCloseCaption);
    Wnd().Enable(IDC_OPEN_COM, true);
    Wnd().Enable(IDC_HART_COMM, true);
    Wnd().Enable(IDC_SEARCH_ADDR, true);
}

// Closed: the ways to find and open a port again, nothing else.
void PortSetting::ShowClosedPort()
{
    if (m_Comm.GetPortOpen())
        m_Link.Close();
    Close();
    Wnd().SetText(IDC_OPEN_COM, kOpenCaption);
    Wnd().Enable(IDC_OPEN_COM, true);
    Wnd().Enable(IDC_SEARCH_COM, true);
    Wnd().Enable(IDC_PORT_LIST, true);
}

void PortSetting::Close()
{
    try {
        m_Comm.SetPortOpen(false);
    } catch (const SerialPortError& e) {
        ReportError(std::string("Close Com: ") + e.what());
    }
}

void PortSetting::OnDeviceLost()
{
    m_bDeviceLost = true;
    if (!Machine().IsOperationRunning())
        ShowDeviceLost();
}

// Runs after every step: an operation that ran out its tries on the lost
// port has just ended.
void PortSetting::AfterStep()
{
    if (m_bDeviceLost && !Machine().IsOperationRunning())
        ShowDeviceLost();
}

void PortSetting::ShowDeviceLost()
{
    m_bDeviceLost = false;
    DisableAllControls();
    ShowClosedPort();
    Log("Com port lost!");
}
