#include "modules/CommonSettings.h"

#include "dialog/ControlIds.h"
#include "hart/Units.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace {

constexpr std::int16_t kAlarmKeepLast = 239;  // "Keep Last", entry 2 of the alarm list
constexpr std::int16_t kSharedReadItems = 8;

// The list entry a code stands for, or -1 for a code the list does not hold.
int BinaryCodeEntry(std::int16_t code) { return code == 0 || code == 1 ? code : -1; }
int UnitCodeEntry(std::int16_t code) { return IsBadUnitCode(static_cast<std::uint8_t>(code)) ? -1 : g_nUnitRow; }

}  // namespace

std::vector<StepEntry> CommonSettings::Steps()
{
    return {
        // Every way into the shared read clears the tries first; running out
        // of them leaves only the ways to connect again, whichever script
        // reached it.
        Exchange(kSharedReadSend, 15, &CommonSettings::CheckSharedRead)
            .WithoutPrepare()
            .Items(ItemRule::Exactly, kSharedReadItems)
            .WhenOutOfTries([this] {
                Log("Communication fail!");
                Machine().EndConnect();
            }),
        Exchange(kDampingPrepare, 34, &CommonSettings::CheckDampingWrite),
        Exchange(kTransFuncPrepare, 47, &CommonSettings::CheckTransFuncWrite),
        Exchange(kPvUnitWritePrepare, 44, &CommonSettings::CheckPvUnitWrite),
        Exchange(kPvUnitReadPrepare, 1, &CommonSettings::CheckPvUnitRead),
    };
}

std::vector<Handler> CommonSettings::Handlers()
{
    using C = CommonSettings;
    return {
        // Module 5, 9 and 10 read their settings with the one command 15.
        On(IDC_READ_RANGE, &C::OnReadSettings),
        On(IDC_READ_TRANS_FUNC, &C::OnReadSettings),
        On(IDC_READ_DAMPING, &C::OnReadSettings),
        On(IDC_READ_WP, &C::OnReadSettings),
        On(IDC_READ_ALARM, &C::OnReadSettings),
        On(IDC_TRANS_FUNC, Notify::SelChange, &C::OnTransFuncChange),
        On(IDC_SET_TRANS_FUNC, &C::OnSetTransFunc, {IDC_TRANS_FUNC}),
        On(IDC_READ_UNIT, &C::OnReadPvUnit),
        On(IDC_UNIT_LIST, Notify::SelChange, &C::OnPvUnitChange),
        On(IDC_SET_UNIT, &C::OnSetPvUnit, {IDC_UNIT_LIST}),
        On(IDC_DAMPING, Notify::EditChange, &C::OnDampingChange),
        On(IDC_SET_DAMPING, &C::OnSetDamping, {IDC_DAMPING}),
    };
}

// --- Handlers

void CommonSettings::OnReadSettings() { StartScript(kSharedReadSend); }

void CommonSettings::OnTransFuncChange() { Wnd().Enable(IDC_SET_TRANS_FUNC, true); }

void CommonSettings::OnSetTransFunc()
{
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(Wnd().ComboGetCurSel(IDC_TRANS_FUNC));
    StartScript(kTransFuncPrepare);
}

void CommonSettings::OnReadPvUnit() { StartScript(kPvUnitReadPrepare); }

void CommonSettings::OnPvUnitChange() { Wnd().Enable(IDC_SET_UNIT, true); }

void CommonSettings::OnSetPvUnit()
{
    Machine().m_nReqCode[0] = UnitCodeOfRow(Wnd().ComboGetCurSel(IDC_UNIT_LIST));
    StartScript(kPvUnitWritePrepare);
}

void CommonSettings::OnDampingChange() { Wnd().Enable(IDC_SET_DAMPING, true); }

// An empty field is no damping of 0 s.
void CommonSettings::OnSetDamping()
{
    const std::optional<double> damping = ScanNumber(Wnd().GetText(IDC_DAMPING));
    if (!damping)
        return Log("Input is invalid!");
    Machine().m_fReqValue[0] = static_cast<float>(*damping);
    StartScript(kDampingPrepare);
}

// --- Check states

// 8: command 15 spread over three modules. A bad code in one field never
// stops the others.
void CommonSettings::CheckSharedRead()
{
    const std::int16_t* code = Reply().m_nReplyCode;
    const float* value = Reply().m_fReplyValue;

    if (IsBadUnitCode(static_cast<std::uint8_t>(code[2]))) {
        Wnd().SetText(IDC_RANGE_UPPER, "");
        Wnd().SetText(IDC_RANGE_LOWER, "");
        Wnd().SetText(IDC_RANGE_UNIT, "");
        AppendLog("Unit code not right!");
    } else {
        Wnd().SetText(IDC_RANGE_UPPER, FormatText("%+.4e", double{value[0]}));
        Wnd().SetText(IDC_RANGE_LOWER, FormatText("%+.4e", double{value[1]}));
        Wnd().SetText(IDC_RANGE_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    }

    SelectCode(IDC_TRANS_FUNC, code[1], "Trans-Func. code not right!");

    // Writing the field raised its change notification; a value read from the
    // transmitter is not a pending edit.
    Wnd().SetText(IDC_DAMPING, FormatText("%.3f", double{value[2]}));
    Wnd().Enable(IDC_SET_DAMPING, false);

    SelectCode(IDC_WRITE_PROTECT, code[3], "Write Protect code not right!");

    if (code[0] == kAlarmKeepLast)
        Wnd().ComboSetCurSel(IDC_ALARM, 2);
    else
        SelectCode(IDC_ALARM, code[0], "Alarm code not right!");

    TrimLog();
    EndOperation();
}

// Selects entry code of a list for the codes 0 and 1, else clears the list and
// logs the complaint.
void CommonSettings::SelectCode(int listId, std::int16_t code, std::string_view complaint)
{
    const int entry = BinaryCodeEntry(code);
    Wnd().ComboSetCurSel(listId, entry);
    if (entry < 0)
        AppendLog(complaint);
}

// 115: command 34 echoes the damping it took.
void CommonSettings::CheckDampingWrite()
{
    if (Reply().ByteCount() < 6)
        return FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
    Wnd().SetText(IDC_DAMPING, FormatText("%.3f", double{Reply().m_fReplyValue[0]}));
    Wnd().Enable(IDC_SET_DAMPING, false);
    FinishWith("Setting succeed!");
}

// 118: command 47 echoes the transfer function code.
void CommonSettings::CheckTransFuncWrite() { FinishListWrite(IDC_TRANS_FUNC, BinaryCodeEntry); }

// 121: command 44 echoes the unit code.
void CommonSettings::CheckPvUnitWrite() { FinishListWrite(IDC_UNIT_LIST, UnitCodeEntry); }

// 203: command 1's unit code selects the unit list's entry.
void CommonSettings::CheckPvUnitRead()
{
    const int entry = UnitCodeEntry(Reply().m_nReplyCode[0]);
    Wnd().ComboSetCurSel(IDC_UNIT_LIST, entry);
    if (entry < 0)
        AppendLog("Data reply not right!");
    TrimLog();
    EndOperation();
}
