#include "modules/SpecificSettings.h"

#include "dialog/ControlIds.h"
#include "text/Format.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::int16_t kAlarmKeepLast = 239;  // "Keep Last", entry 2 of the alarm list
constexpr int kKeepLastEntry = 2;
constexpr int kVersionLength = 6;

// The list entry a code stands for, or -1 for a code the list does not hold.
int WriteProtectEntry(std::int16_t code) { return code == 0 || code == 1 ? code : -1; }
int AlarmEntry(std::int16_t code) { return code == kAlarmKeepLast ? kKeepLastEntry : WriteProtectEntry(code); }
int DisplayEntry(std::int16_t code) { return code >= 0 && code <= 2 ? code : -1; }

}  // namespace

std::vector<StepEntry> SpecificSettings::Steps()
{
    return {
        Exchange(kDisplayReadPrepare, 165, &SpecificSettings::CheckDisplayRead),
        Exchange(kDisplayWritePrepare, 134, &SpecificSettings::CheckDisplayWrite),
        Exchange(kAlarmWritePrepare, 135, &SpecificSettings::CheckAlarmWrite),
        Exchange(kWriteProtectPrepare, 192, &SpecificSettings::CheckWriteProtectWrite),
        Exchange(kVersionPrepare, 172, &SpecificSettings::CheckVersionRead),
    };
}

std::vector<Handler> SpecificSettings::Handlers()
{
    using S = SpecificSettings;
    return {
        On(IDC_WRITE_PROTECT, Notify::SelChange, &S::OnWriteProtectChange),
        On(IDC_SET_WP, &S::OnSetWriteProtect, {IDC_WRITE_PROTECT}),
        On(IDC_ALARM, Notify::SelChange, &S::OnAlarmChange),
        On(IDC_SET_ALARM, &S::OnSetAlarm, {IDC_ALARM}),
        On(IDC_DISPLAY, Notify::SelChange, &S::OnDisplayChange),
        On(IDC_READ_DISPLAY, &S::OnReadDisplay),
        On(IDC_SET_DISPLAY, &S::OnSetDisplay, {IDC_DISPLAY}),
        On(IDC_READ_VERSION, &S::OnReadVersion),
    };
}

// --- Handlers. A "Set" is reached only after the operator chose an entry.

void SpecificSettings::OnWriteProtectChange() { Wnd().Enable(IDC_SET_WP, true); }

void SpecificSettings::OnSetWriteProtect()
{
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(Wnd().ComboGetCurSel(IDC_WRITE_PROTECT));
    StartScript(kWriteProtectPrepare);
}

void SpecificSettings::OnAlarmChange() { Wnd().Enable(IDC_SET_ALARM, true); }

void SpecificSettings::OnSetAlarm()
{
    const int entry = Wnd().ComboGetCurSel(IDC_ALARM);
    Machine().m_nReqCode[0] = entry == kKeepLastEntry ? kAlarmKeepLast : static_cast<std::int16_t>(entry);
    StartScript(kAlarmWritePrepare);
}

void SpecificSettings::OnDisplayChange() { Wnd().Enable(IDC_SET_DISPLAY, true); }

void SpecificSettings::OnReadDisplay() { StartScript(kDisplayReadPrepare); }

void SpecificSettings::OnSetDisplay()
{
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(Wnd().ComboGetCurSel(IDC_DISPLAY));
    StartScript(kDisplayWritePrepare);
}

void SpecificSettings::OnReadVersion() { StartScript(kVersionPrepare); }

// --- Check states

// 109: command 165's display code selects the display entry.
void SpecificSettings::CheckDisplayRead()
{
    const int entry = DisplayEntry(Reply().m_nReplyCode[0]);
    Wnd().ComboSetCurSel(IDC_DISPLAY, entry);
    if (entry < 0)
        AppendLog("Data reply not right!");
    TrimLog();
    EndOperation();
}

// 112: command 134 echoes the display code.
void SpecificSettings::CheckDisplayWrite() { FinishListWrite(IDC_DISPLAY, DisplayEntry); }

// 124: command 135 echoes the alarm code.
void SpecificSettings::CheckAlarmWrite() { FinishListWrite(IDC_ALARM, AlarmEntry); }

// 127: command 192 echoes the write-protect code.
void SpecificSettings::CheckWriteProtectWrite() { FinishListWrite(IDC_WRITE_PROTECT, WriteProtectEntry); }

// 206: six 8-bit characters, ended early by a zero byte; bytes from 0x80 on
// are Latin-1 characters. Nothing is logged.
void SpecificSettings::CheckVersionRead()
{
    const std::uint8_t* text = Reply().m_pReplyData;
    const std::uint8_t* end = std::find(text, text + kVersionLength, 0);
    Wnd().SetText(IDC_VERSION, Latin1ToUtf8(std::string(text, end)));
    EndOperation();
}
