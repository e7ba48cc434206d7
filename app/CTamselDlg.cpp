#include "app/CTamselDlg.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "dialog/Timing.h"

CTamselDlg::CTamselDlg(DialogWindow& window, SerialPort& comm)
    : m_Wnd(window), m_Link(window, comm), m_Machine(*this, m_Link, m_Observers),
      m_PortSetting(*this, m_Machine, comm, m_Link), m_Online(*this, m_Machine), m_InstrumentInfo(*this, m_Machine),
      m_ProcessVariables(*this, m_Machine), m_RangeSetting(*this, m_Machine), m_SensorTrim(*this, m_Machine),
      m_LoopTest(*this, m_Machine), m_BurstSetting(*this, m_Machine), m_CommonSettings(*this, m_Machine),
      m_SpecificSettings(*this, m_Machine), m_IdentificationTexts(*this, m_Machine),
      m_Calibration(*this, m_Machine, m_Online), m_Configuration(*this, m_Machine, m_Online),
      m_LoopReturn({window, m_Observers, [this] { return IsOperationRunning(); },
                    [this](int id) { OnCommand(id, Notify::Clicked); }},
                   m_LoopTest, m_ProcessVariables)
{
    for (Module* module : std::initializer_list<Module*>{
             &m_PortSetting, &m_Online, &m_InstrumentInfo, &m_ProcessVariables, &m_RangeSetting, &m_SensorTrim,
             &m_LoopTest, &m_BurstSetting, &m_CommonSettings, &m_SpecificSettings, &m_IdentificationTexts,
             &m_Calibration, &m_Configuration}) {
        m_Machine.AddSteps(module->Steps());
        for (Handler& handler : module->Handlers())
            m_Handlers.push_back(std::move(handler));
    }
    // The shell's own: neither the hidden default button nor Enter closes
    // the window; Exit, Esc and the close box do.
    m_Handlers.push_back({IDOK, Notify::Clicked, [this] { OnOK(); }});
    m_Handlers.push_back({IDCANCEL, Notify::Clicked, [this] { OnCancel(); }});
    comm.SetOnComm([this, &comm] { OnCommEvent(comm); });
    m_Observers.Add(m_WriteTrail);
    m_Link.SetSinks([this](const ModemReply& reply) { m_Machine.OfferReply(reply); },
                    [this](bool usable) {
                        m_PortSetting.OnLinkOpened(usable);
                        m_Observers.OperationEnded();
                    },
                    [this](std::string_view error) { m_Observers.Error(error); });
}

bool CTamselDlg::OnInitDialog()
{
    const std::string_view aboutText = LoadResourceString(IDS_ABOUTBOX);
    if (!aboutText.empty())
        m_Wnd.AppendSystemMenuItem(IDM_ABOUTBOX, aboutText);

    m_Machine.m_bBurst = 0;
    for (const ControlSpec& control : MainDialogLayout().controls)
        if (control.textLimit > 0)
            m_Wnd.SetLimitText(control.id, control.textLimit);

    m_Wnd.SetTimer(TIMER_BLINK, BLINK_PERIOD);
    return true;
}

void CTamselDlg::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0u) == IDM_ABOUTBOX)
        m_Wnd.RunAboutBox();
}

// Neither the hidden default button nor the Enter key closes the window.
void CTamselDlg::OnOK() {}

void CTamselDlg::OnTimer(int timerId)
{
    switch (timerId) {
    case TIMER_RX:
    case TIMER_LINK:
    case TIMER_LINK_IDLE:
        m_Wnd.KillTimer(timerId);
        m_Link.OnTimer(timerId);
        break;
    case TIMER_STEP:
        m_Wnd.KillTimer(TIMER_STEP);
        RunObservedStep();
        m_PortSetting.AfterStep();
        m_LoopReturn.AfterStep();
        break;
    case TIMER_BLINK:
        BlinkStatus();
        break;
    default:
        m_Wnd.KillTimer(timerId);
        break;
    }
}

// The port's events: what it received and its line errors go to the receive
// path; the loss of the device to the port setting.
void CTamselDlg::OnCommEvent(SerialPort& comm)
{
    if (comm.GetCommEvent() == CommEvent::kDeviceLost)
        m_PortSetting.OnDeviceLost();
    else
        m_Link.OnCommEvent();
}

// While the transmitter reports burst mode the indicator alternates every
// period; otherwise it is cleared.
void CTamselDlg::BlinkStatus()
{
    if (m_Machine.m_bBurst == 0)
        m_Wnd.SetCheck(IDC_STATUS, 0);
    else
        m_Wnd.SetCheck(IDC_STATUS, m_Wnd.GetCheck(IDC_STATUS) ? 0 : 1);
}
