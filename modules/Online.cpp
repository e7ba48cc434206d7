#include "modules/Online.h"

#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "modules/InstrumentInfo.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace {
constexpr int kIdentityBoxes[] = {IDC_MFR, IDC_DEV_TYPE, IDC_DEV_ID, IDC_SENSOR_UPPER, IDC_SENSOR_LOWER, IDC_MIN_SPAN};
constexpr int kHighestPollingAddress = 15;
constexpr std::int16_t kCommand0Items = 5;
}  // namespace

std::vector<StepEntry> Online::Steps()
{
    return {
        RunStepOf(kConnectBegin, [this] { ScanFrom(0, kConnectSend); }),
        Run(kConnectSend, &Online::SendCommand0AtScanAddress),
        Run(kConnectCheck, &Online::CheckConnect),
        RunStepOf(kSearchBegin, [this] { ScanFrom(1, kSearchSend); }),
        Run(kSearchSend, &Online::SendCommand0AtScanAddress),
        Run(kSearchCheck, &Online::CheckSearch),
        PrepareStep(kSetAddressPrepare),
        SendStep(kSetAddressSend, 6, kSetAddressCheck),
        Run(kSetAddressCheck, &Online::CheckSetAddress),
    };
}

void Online::StartConnect(std::int16_t firstState, std::int16_t maxTries)
{
    for (int id : kIdentityBoxes)
        Wnd().SetText(id, "");
    StartScript(firstState, maxTries);
}

void Online::OnHartCommunication() { StartConnect(kConnectBegin, kDefaultTries); }

void Online::OnSearchAddress() { StartConnect(kSearchBegin, 1); }

void Online::OnSetAddress()
{
    const long address = static_cast<std::int16_t>(LeadingInteger(Wnd().GetText(IDC_POLL_ADDR)));
    if (address > kHighestPollingAddress || address < 0)
        return Log("Must between 0 and 15!");
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(address);
    StartScript(kSetAddressPrepare);
}

// "Set Addr" is usable only while the box names another address than the
// one the transmitter answered at.
void Online::OnPollingAddressChange()
{
    const std::string text = Wnd().GetText(IDC_POLL_ADDR);
    if (text.empty())
        return;
    const auto address = static_cast<std::uint8_t>(LeadingInteger(text));
    Wnd().Enable(IDC_SET_ADDR, address != m_nScanAddr);
}

// 1 and 9: the first address to try.
void Online::ScanFrom(std::uint8_t address, std::int16_t sendState)
{
    m_nScanAddr = address;
    Wnd().SetText(IDC_POLL_ADDR, FormatText("%d", address));
    GoOnTo(sendState);
}

// 2 and 10: command 0 at m_nScanAddr; judged in the next state.
void Online::SendCommand0AtScanAddress()
{
    Machine().m_nReqCode[0] = m_nScanAddr;
    Machine().SendRequest(0, static_cast<std::int16_t>(Machine().m_nStep + 1));
}

bool Online::TransmitterAnswered() const { return Succeeded() && Reply().m_nReplyItems == kCommand0Items; }

// 3: the transmitter answered at address 0, or three tries failed.
void Online::CheckConnect()
{
    if (TransmitterAnswered())
        return GoOnTo(InstrumentInfo::kShowIdentity);
    if (TryAgain(kConnectSend))
        return;
    AppendLog("Not found!");
    AppendLog("Or polling address is not 0!");
    AppendLog("Please try <Search Addr>!");
    EndNotFound();
}

// 11: the transmitter answered, or the search goes on at the next address.
void Online::CheckSearch()
{
    if (TransmitterAnswered())
        return GoOnTo(InstrumentInfo::kShowIdentity);
    if (TryAgain(kSearchSend))
        return;
    ++m_nScanAddr;
    if (m_nScanAddr <= kHighestPollingAddress) {
        Wnd().SetText(IDC_POLL_ADDR, FormatText("%d", m_nScanAddr));
        Machine().m_nStep = kSearchSend;
        return Machine().Arm(RETRY_DELAY);
    }
    AppendLog("Not found!");
    EndNotFound();
}

void Online::EndNotFound()
{
    TrimLog();
    Wnd().SetText(IDC_POLL_ADDR, "");
    Machine().EndConnect();
}

// 136: command 6 echoes the address it took.
void Online::CheckSetAddress()
{
    if (!Succeeded())
        return CountFailure(kSetAddressSend);
    if (Reply().ByteCount() < 3)
        return FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
    const int echoed = Reply().EchoedCode();
    if (echoed >= 0 && echoed <= kHighestPollingAddress) {
        Wnd().SetText(IDC_POLL_ADDR, FormatText("%d", echoed));
        return FinishWith("Setting succeed!");
    }
    Log("Data reply not right!");
    Wnd().SetText(IDC_POLL_ADDR, "");
    TrimLog();
    EndOperation();
}
