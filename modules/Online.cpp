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
    const auto command0 = [this](std::int16_t send, std::function<void()> outOfTries) {
        return Exchange(send, 0, &Online::ShowIdentity)
            .WithoutPrepare()
            .Items(ItemRule::Exactly, kCommand0Items)
            .SendOnlyIf([this] { return AtScanAddress(); })
            .WhenOutOfTries(std::move(outOfTries));
    };
    return {
        RunStepOf(kConnectBegin, [this] { ScanFrom(0, kConnectSend); }),
        command0(kConnectSend, [this] { NotFoundAtZero(); }),
        RunStepOf(kSearchBegin, [this] { ScanFrom(1, kSearchSend); }),
        command0(kSearchSend, [this] { SearchNextAddress(); }),
        Exchange(kSetAddressPrepare, 6, &Online::CheckSetAddress),
    };
}

std::vector<Handler> Online::Handlers()
{
    return {
        On(IDC_HART_COMM, &Online::OnHartCommunication),
        On(IDC_SEARCH_ADDR, &Online::OnSearchAddress),
        On(IDC_SET_ADDR, &Online::OnSetAddress, {IDC_POLL_ADDR}),
        On(IDC_POLL_ADDR, Notify::EditChange, &Online::OnPollingAddressChange),
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

// 2 and 10: command 0 goes to m_nScanAddr.
bool Online::AtScanAddress()
{
    Machine().m_nReqCode[0] = m_nScanAddr;
    return true;
}

// 3 and 11: the transmitter answered; who it is follows.
void Online::ShowIdentity() { GoOnTo(InstrumentInfo::kShowIdentity); }

// 3: no answer at address 0 in three tries.
void Online::NotFoundAtZero()
{
    AppendLog("Not found!");
    AppendLog("Or polling address is not 0!");
    AppendLog("Please try <Search Addr>!");
    EndNotFound();
}

// 11: no answer at this address; the search goes on at the next, up to 15.
void Online::SearchNextAddress()
{
    ++m_nScanAddr;
    if (m_nScanAddr <= kHighestPollingAddress) {
        Wnd().SetText(IDC_POLL_ADDR, FormatText("%d", m_nScanAddr));
        return Machine().ResumeAt(kSearchSend, RETRY_DELAY);
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
