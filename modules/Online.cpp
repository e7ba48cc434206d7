// "Module 2 - Online": connect at polling address 0, search addresses 1 to
// 15, and give the transmitter a new polling address.
#include "app/CTamselDlg.h"

#include "app/Timing.h"
#include "hart/ResultCodes.h"
#include "modules/ModuleSteps.h"
#include "modules/Text.h"
#include "ui/dialog/ControlIds.h"

namespace {
constexpr int kIdentityBoxes[] = {IDC_MFR, IDC_DEV_TYPE, IDC_DEV_ID, IDC_SENSOR_UPPER, IDC_SENSOR_LOWER, IDC_MIN_SPAN};
constexpr int kHighestPollingAddress = 15;
}  // namespace

namespace {
const StepEntry kOnlineSteps[] = {
    // Connect: command 0 at polling address 0 (02 80 00 00 82), then 4 to 8.
    RunStepOf(1, &CTamselDlg::ConnectBegin),
    RunStepOf(2, &CTamselDlg::SendCommand0AtScanAddress),
    RunStepOf(3, &CTamselDlg::CheckConnect),
    // Search: command 0 at polling addresses 1 to 15, then 4 to 8.
    RunStepOf(9, &CTamselDlg::SearchBegin),
    RunStepOf(10, &CTamselDlg::SendCommand0AtScanAddress),
    RunStepOf(11, &CTamselDlg::CheckSearch),
    // Set Addr: command 6 with the new address, echoed back.
    PrepareStep(134),
    SendStep(135, 6, 136),
    RunStepOf(136, &CTamselDlg::CheckSetAddress),
};
}  // namespace
std::span<const StepEntry> OnlineSteps() { return kOnlineSteps; }

void CTamselDlg::StartConnect(std::int16_t firstState, std::int16_t maxTries)
{
    DisableAllControls();
    for (int id : kIdentityBoxes)
        m_Wnd.SetText(id, "");
    StartScript(firstState, maxTries);
}

void CTamselDlg::OnHartCommunication() { StartConnect(1, 3); }

void CTamselDlg::OnSearchAddress() { StartConnect(9, 1); }

void CTamselDlg::OnSetAddress()
{
    const long address = static_cast<std::int16_t>(LeadingInteger(m_Wnd.GetText(IDC_POLL_ADDR)));
    if (address > kHighestPollingAddress || address < 0) {
        AppendLog("Must between 0 and 15!");
        TrimLog();
        return;
    }
    m_nReqCode[0] = static_cast<std::int16_t>(address);
    DisableAllControls();
    StartScript(134, 3);
}

// "Set Addr" is usable only while the box names another address than the
// one the transmitter answered at.
void CTamselDlg::OnPollingAddressChange()
{
    const std::string text = m_Wnd.GetText(IDC_POLL_ADDR);
    if (text.empty())
        return;
    const auto address = static_cast<std::uint8_t>(LeadingInteger(text));
    m_Wnd.Enable(IDC_SET_ADDR, address != m_nScanAddr);
}

// 1: start at polling address 0.
void CTamselDlg::ConnectBegin()
{
    m_nScanAddr = 0;
    m_Wnd.SetText(IDC_POLL_ADDR, "0");
    m_nStep = 2;
    m_nTries = 0;
    ArmStep(STEP_DELAY);
}

// 9: start at polling address 1.
void CTamselDlg::SearchBegin()
{
    m_nScanAddr = 1;
    m_Wnd.SetText(IDC_POLL_ADDR, "1");
    m_nStep = 10;
    m_nTries = 0;
    ArmStep(STEP_DELAY);
}

// 2 and 10: send command 0 at m_nScanAddr; judged in the next state.
void CTamselDlg::SendCommand0AtScanAddress()
{
    m_nReturnStep = static_cast<std::int16_t>(m_nStep + 1);
    m_nReqCode[0] = m_nScanAddr;
    m_nResult = kResultOk;
    m_nStep = FindCommand(0)->sendState;
    ArmStep(STEP_DELAY);
}

bool CTamselDlg::TransmitterAnswered() const { return m_nResult == kResultOk && m_nReplyItems == 5; }

// 3: the transmitter answered at address 0, or three tries failed.
void CTamselDlg::CheckConnect()
{
    if (TransmitterAnswered()) {
        m_nStep = 4;
        m_nTries = 0;
        ArmStep(STEP_DELAY);
        return;
    }
    if (RetryCommand(2))
        return;
    AppendLog("Not found!");
    AppendLog("Or polling address is not 0!");
    AppendLog("Please try <Search Addr>!");
    TrimLog();
    m_Wnd.SetText(IDC_POLL_ADDR, "");
    EndConnectScript();
}

// 11: the transmitter answered, or the search goes on at the next address.
void CTamselDlg::CheckSearch()
{
    if (TransmitterAnswered()) {
        m_nTries = 0;
        m_nStep = 4;
        ArmStep(STEP_DELAY);
        return;
    }
    if (RetryCommand(10))
        return;
    ++m_nScanAddr;
    if (m_nScanAddr <= kHighestPollingAddress) {
        m_Wnd.SetText(IDC_POLL_ADDR, FormatText("%d", m_nScanAddr));
        m_nStep = 10;
        ArmStep(RETRY_DELAY);
        return;
    }
    AppendLog("Not found!");
    TrimLog();
    m_Wnd.SetText(IDC_POLL_ADDR, "");
    EndConnectScript();
}

// 136: command 6 echoes the address it took.
void CTamselDlg::CheckSetAddress()
{
    if (m_nResult != kResultOk) {
        if (!RetryCommand(135))
            EndScriptWith("Communication fail!");
        return;
    }
    if (m_nReplyCode[0] < 3) {
        EndScriptWith(m_nReplyCode[0] == 2 ? "Command not implemented!" : "Reply not right!");
        return;
    }
    const int echoed = m_nReplyCode[3];
    if (echoed >= 0 && echoed <= kHighestPollingAddress) {
        m_Wnd.SetText(IDC_POLL_ADDR, FormatText("%d", echoed));
        EndScriptWith("Setting succeed!");
        return;
    }
    AppendLog("Data reply not right!");
    TrimLog();
    m_Wnd.SetText(IDC_POLL_ADDR, "");
    TrimLog();
    EndScript();
}
