#include "modules/IdentificationTexts.h"

#include "dialog/ControlIds.h"
#include "hart/DateAndAssembly.h"
#include "hart/PackedAscii.h"
#include "text/Numbers.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kTagWidth = 8;
constexpr std::size_t kDescriptorWidth = 16;
constexpr std::size_t kMessageWidth = 32;
constexpr std::size_t kDescriptorAt = PackedSize(kTagWidth);
constexpr std::size_t kDateAt = kDescriptorAt + PackedSize(kDescriptorWidth);
constexpr std::size_t kDateBytes = 3;
constexpr std::size_t kAssemblyBytes = 3;
constexpr std::int16_t kStatusBytes = 2;  // counted in a reply's byte count before its data
constexpr long kMaxAssembly = 16777215;

// The window hands texts over as UTF-8, where every character outside ASCII
// is made of bytes of 0x80 or above.
bool IsAscii(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Upper-cased, padded with spaces and packed; the edit's limit keeps a typed
// text within the field's width.
void PackField(std::string_view text, std::size_t width, std::uint8_t* dst)
{
    PackTextField(text.substr(0, width), width, dst);
}

}  // namespace

std::vector<StepEntry> IdentificationTexts::Steps()
{
    using I = IdentificationTexts;
    return {
        Exchange(kTagDescDateReadPrepare, 13, &I::CheckTagDescDateRead),
        Exchange(kMessageReadPrepare, 12, &I::CheckMessageRead),
        Exchange(kAssemblyReadPrepare, 16, &I::CheckAssemblyRead),
        Exchange(kMessageWritePrepare, 17, &I::CheckMessageWrite),
        Exchange(kAssemblyWritePrepare, 19, &I::CheckAssemblyWrite),
        Exchange(kTagDescDateWritePrepare, 18, &I::CheckTagDescDateWrite),
    };
}

std::vector<Handler> IdentificationTexts::Handlers()
{
    using I = IdentificationTexts;
    return {
        On(IDC_TAG, Notify::EditChange, &I::OnIdentTextChange),
        On(IDC_DESCRIPTOR, Notify::EditChange, &I::OnIdentTextChange),
        On(IDC_DATE, Notify::EditChange, &I::OnIdentTextChange),
        On(IDC_READ_TAG, &I::OnReadTagDescDate),
        On(IDC_SET_TAG, &I::OnSetTagDescDate, {IDC_TAG, IDC_DESCRIPTOR, IDC_DATE}),
        On(IDC_MESSAGE, Notify::EditChange, &I::OnMessageChange),
        On(IDC_READ_MESSAGE, &I::OnReadMessage),
        On(IDC_SET_MESSAGE, &I::OnSetMessage, {IDC_MESSAGE}),
        On(IDC_ASSEMBLY, Notify::EditChange, &I::OnAssemblyChange),
        On(IDC_READ_ASSEMBLY, &I::OnReadAssembly),
        On(IDC_SET_ASSEMBLY, &I::OnSetAssembly, {IDC_ASSEMBLY}),
    };
}

// --- Handlers. A write with a bad input starts nothing and disables nothing.

void IdentificationTexts::OnIdentTextChange() { Wnd().Enable(IDC_SET_TAG, true); }

void IdentificationTexts::OnReadTagDescDate() { StartScript(kTagDescDateReadPrepare); }

// All three inputs are checked before anything is decided; each bad one adds
// its own entry, in the order tag, descriptor, date.
void IdentificationTexts::OnSetTagDescDate()
{
    static_assert(kDateAt + kDateBytes == kTagDescDateBytes);
    const std::string tag = Wnd().GetText(IDC_TAG);
    const std::string descriptor = Wnd().GetText(IDC_DESCRIPTOR);
    const std::string dateText = Wnd().GetText(IDC_DATE);
    std::uint8_t date[kDateBytes] = {};
    bool valid = true;
    if (!IsAscii(tag)) {
        AppendLog("\"Tag\" must be ASSII char!");
        valid = false;
    }
    if (!IsAscii(descriptor)) {
        AppendLog("\"Descriptor\" must be ASCII char!");
        valid = false;
    }
    if (!TextToDate(dateText.c_str(), date)) {
        AppendLog("Must be year-month-day!");
        valid = false;
    }
    TrimLog();
    if (!valid)
        return;
    PackField(tag, kTagWidth, &m_TagDescDateBlock[0]);
    PackField(descriptor, kDescriptorWidth, &m_TagDescDateBlock[kDescriptorAt]);
    std::copy(date, date + kDateBytes, &m_TagDescDateBlock[kDateAt]);
    Machine().m_pReqBlock = m_TagDescDateBlock.data();
    StartScript(kTagDescDateWritePrepare);
}

void IdentificationTexts::OnMessageChange() { Wnd().Enable(IDC_SET_MESSAGE, true); }

void IdentificationTexts::OnReadMessage() { StartScript(kMessageReadPrepare); }

void IdentificationTexts::OnSetMessage()
{
    static_assert(PackedSize(kMessageWidth) == kMessageBytes);
    const std::string message = Wnd().GetText(IDC_MESSAGE);
    if (!IsAscii(message))
        return Log("Must be ASCII char!");
    TrimLog();
    PackField(message, kMessageWidth, m_MessageBlock.data());
    Machine().m_pReqBlock = m_MessageBlock.data();
    StartScript(kMessageWritePrepare);
}

void IdentificationTexts::OnAssemblyChange() { Wnd().Enable(IDC_SET_ASSEMBLY, true); }

void IdentificationTexts::OnReadAssembly() { StartScript(kAssemblyReadPrepare); }

// Only the leading integer counts: "12abc" is 12.
void IdentificationTexts::OnSetAssembly()
{
    const std::optional<long> number = ScanInteger(Wnd().GetText(IDC_ASSEMBLY));
    if (!number)
        return Log("Input is invalid!");
    if (*number < 0 || *number > kMaxAssembly)
        return Log("Must between 0 and 16777215!");
    TrimLog();
    std::uint8_t bytes[kAssemblyBytes];
    AssemblyToBytes(static_cast<std::uint32_t>(*number), bytes);
    std::copy(bytes, bytes + kAssemblyBytes, Machine().m_nReqCode);
    StartScript(kAssemblyWritePrepare);
}

// --- Check states. Every read and every confirmed write shows what the
// transmitter holds: texts exactly as wide as their fields, trailing spaces
// kept. Writing a field enabled its "Set"; a shown value is not a pending
// edit, so each "Set" is disabled again.

// 20: command 13's tag, descriptor and date. Nothing is logged.
void IdentificationTexts::CheckTagDescDateRead()
{
    ShowTagDescDate(Reply().m_pReplyData);
    EndOperation();
}

// 130: command 12's message.
void IdentificationTexts::CheckMessageRead()
{
    ShowMessage(Reply().m_pReplyData);
    EndOperation();
}

// 133: command 16's number, in reply codes 0 to 2.
void IdentificationTexts::CheckAssemblyRead()
{
    ShowAssembly(&Reply().m_nReplyCode[0]);
    EndOperation();
}

// 145: command 18 echoes the 21 bytes as the transmitter stored them.
void IdentificationTexts::CheckTagDescDateWrite()
{
    if (!EchoComplete(kTagDescDateBytes))
        return;
    ShowTagDescDate(Reply().m_pReplyData);
    FinishWith("Setting succeed!");
}

// 139: command 17 echoes the 24 message bytes.
void IdentificationTexts::CheckMessageWrite()
{
    if (!EchoComplete(kMessageBytes))
        return;
    ShowMessage(Reply().m_pReplyData);
    FinishWith("Setting succeed!");
}

// 142: command 19 echoes the number, in reply codes 4 to 6.
void IdentificationTexts::CheckAssemblyWrite()
{
    if (!EchoComplete(kAssemblyBytes))
        return;
    ShowAssembly(&Reply().m_nReplyCode[4]);
    FinishWith("Setting succeed!");
}

// A write's reply is judged by its byte count alone, never by its response
// code. True when it carries all echoBytes; otherwise the operation ends with
// the verdict on a short reply.
bool IdentificationTexts::EchoComplete(std::size_t echoBytes) const
{
    if (Reply().ByteCount() < kStatusBytes + static_cast<int>(echoBytes)) {
        FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
        return false;
    }
    return true;
}

void IdentificationTexts::ShowTagDescDate(const std::uint8_t* data)
{
    Wnd().SetText(IDC_TAG, UnpackTextField(data, kTagWidth));
    Wnd().SetText(IDC_DESCRIPTOR, UnpackTextField(data + kDescriptorAt, kDescriptorWidth));
    Wnd().SetText(IDC_DATE, DateToText(data + kDateAt));
    Wnd().Enable(IDC_SET_TAG, false);
}

void IdentificationTexts::ShowMessage(const std::uint8_t* data)
{
    Wnd().SetText(IDC_MESSAGE, UnpackTextField(data, kMessageWidth));
    Wnd().Enable(IDC_SET_MESSAGE, false);
}

// The number's three bytes, most significant first, each in the low byte of
// a reply code.
void IdentificationTexts::ShowAssembly(const std::int16_t* codes)
{
    std::uint8_t bytes[kAssemblyBytes];
    for (std::size_t i = 0; i < kAssemblyBytes; ++i)
        bytes[i] = static_cast<std::uint8_t>(codes[i]);
    Wnd().SetText(IDC_ASSEMBLY, AssemblyToText(bytes));
    Wnd().Enable(IDC_SET_ASSEMBLY, false);
}
