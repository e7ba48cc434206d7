// "Module 9 - Common Settings", upper rows: transfer function, PV unit and
// damping; and the shared read of command 15, which fills range, transfer
// function, damping, write protection and alarm at once.
#include "app/CTamselDlg.h"

#include "hart/ResultCodes.h"
#include "hart/Units.h"
#include "modules/ModuleSteps.h"
#include "modules/Text.h"
#include "ui/dialog/ControlIds.h"

namespace {

const StepEntry kCommonSettingsSteps[] = {
    // Shared read: command 15. Every entry clears m_nTries first.
    SendStep(7, 15, 8),
    RunStepOf(8, &CTamselDlg::CheckSharedRead),
    // Damping write: command 34 with the float, echoed.
    PrepareStep(113),
    SendStep(114, 34, 115),
    RunStepOf(115, &CTamselDlg::CheckDampingWrite),
    // Transfer function write: command 47 with the code, echoed.
    PrepareStep(116),
    SendStep(117, 47, 118),
    RunStepOf(118, &CTamselDlg::CheckTransferFunctionWrite),
    // PV unit write: command 44 with the unit code, echoed.
    PrepareStep(119),
    SendStep(120, 44, 121),
    RunStepOf(121, &CTamselDlg::CheckPvUnitWrite),
    // PV unit read: command 1.
    PrepareStep(201),
    SendStep(202, 1, 203),
    RunStepOf(203, &CTamselDlg::CheckPvUnitRead),
};

constexpr std::int16_t kAlarmKeepLast = 239;  // "Keep Last", entry 2 of the alarm list

// The list entry a code stands for, or -1 for a code the list does not hold.
int BinaryCodeEntry(std::int16_t code) { return code == 0 || code == 1 ? code : -1; }
int UnitCodeEntry(std::int16_t code) { return IsBadUnitCode(static_cast<std::uint8_t>(code)) ? -1 : g_nUnitRow; }

// Selects entry code of a list for the codes 0 and 1, else clears the list and
// logs the complaint.
void SelectBinaryCode(CTamselDlg& dlg, DialogWindow& wnd, int listId, std::int16_t code, std::string_view complaint)
{
    const int entry = BinaryCodeEntry(code);
    wnd.ComboSetCurSel(listId, entry);
    if (entry < 0)
        dlg.AppendLog(complaint);
}

}  // namespace

std::span<const StepEntry> CommonSettingsSteps() { return kCommonSettingsSteps; }

// --- Handlers

void CTamselDlg::OnReadSettings()
{
    DisableAllControls();
    m_nTries = 0;
    StartScript(7, 3);
}

void CTamselDlg::OnTransFuncChange() { m_Wnd.Enable(IDC_SET_TRANS_FUNC, true); }

void CTamselDlg::OnSetTransFunc()
{
    DisableAllControls();
    m_nReqCode[0] = static_cast<std::int16_t>(m_Wnd.ComboGetCurSel(IDC_TRANS_FUNC));
    StartScript(116, 3);
}

void CTamselDlg::OnReadPvUnit()
{
    DisableAllControls();
    StartScript(201, 3);
}

void CTamselDlg::OnPvUnitChange() { m_Wnd.Enable(IDC_SET_UNIT, true); }

void CTamselDlg::OnSetPvUnit()
{
    DisableAllControls();
    m_nReqCode[0] = UnitCodeOfRow(m_Wnd.ComboGetCurSel(IDC_UNIT_LIST));
    StartScript(119, 3);
}

void CTamselDlg::OnDampingChange() { m_Wnd.Enable(IDC_SET_DAMPING, true); }

void CTamselDlg::OnSetDamping()
{
    DisableAllControls();
    m_fReqValue[0] = static_cast<float>(LeadingNumber(m_Wnd.GetText(IDC_DAMPING)));
    StartScript(113, 3);
}

// --- Check states

// A failed try of this module: sent again, or "Communication fail!" and the
// script's end.
bool CTamselDlg::SettingTryFailed(std::int16_t sendState)
{
    if (m_nResult == kResultOk)
        return false;
    if (!RetryCommand(sendState))
        EndScriptWith("Communication fail!");
    return true;
}

// 8: command 15 spread over three modules. A bad code in one field never
// stops the others.
void CTamselDlg::CheckSharedRead()
{
    if (m_nResult != kResultOk || m_nReplyItems != 8) {
        if (RetryCommand(7))
            return;
        AppendLog("Communication fail!");
        TrimLog();
        EndConnectScript();
        return;
    }

    if (IsBadUnitCode(static_cast<std::uint8_t>(m_nReplyCode[2]))) {
        m_Wnd.SetText(IDC_RANGE_UPPER, "");
        m_Wnd.SetText(IDC_RANGE_LOWER, "");
        m_Wnd.SetText(IDC_RANGE_UNIT, "");
        AppendLog("Unit code not right!");
    } else {
        m_Wnd.SetText(IDC_RANGE_UPPER, FormatText("%+.4e", double{m_fReplyValue[0]}));
        m_Wnd.SetText(IDC_RANGE_LOWER, FormatText("%+.4e", double{m_fReplyValue[1]}));
        m_Wnd.SetText(IDC_RANGE_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    }

    SelectBinaryCode(*this, m_Wnd, IDC_TRANS_FUNC, m_nReplyCode[1], "Trans-Func. code not right!");

    // Writing the field raised its change notification; a value read from the
    // transmitter is not a pending edit.
    m_Wnd.SetText(IDC_DAMPING, FormatText("%.3f", double{m_fReplyValue[2]}));
    m_Wnd.Enable(IDC_SET_DAMPING, false);

    SelectBinaryCode(*this, m_Wnd, IDC_WRITE_PROTECT, m_nReplyCode[3], "Write Protect code not right!");

    if (m_nReplyCode[0] == kAlarmKeepLast)
        m_Wnd.ComboSetCurSel(IDC_ALARM, 2);
    else
        SelectBinaryCode(*this, m_Wnd, IDC_ALARM, m_nReplyCode[0], "Alarm code not right!");

    TrimLog();
    EndScript();
}

// 115: command 34 echoes the damping it took.
void CTamselDlg::CheckDampingWrite()
{
    if (SettingTryFailed(114))
        return;
    if (m_nReplyCode[0] >= 6) {
        m_Wnd.SetText(IDC_DAMPING, FormatText("%.3f", double{m_fReplyValue[0]}));
        m_Wnd.Enable(IDC_SET_DAMPING, false);
        AppendLog("Setting succeed!");
    } else {
        AppendLog(m_nReplyCode[0] == 2 ? "Command not implemented!" : "Reply not right!");
    }
    TrimLog();
    EndScript();
}

// 118: command 47 echoes the transfer function code.
void CTamselDlg::CheckTransferFunctionWrite()
{
    if (!SettingTryFailed(117))
        EndListWrite(IDC_TRANS_FUNC, BinaryCodeEntry);
}

// 121: command 44 echoes the unit code.
void CTamselDlg::CheckPvUnitWrite()
{
    if (!SettingTryFailed(120))
        EndListWrite(IDC_UNIT_LIST, UnitCodeEntry);
}

// 203: command 1's unit code selects the unit list's entry.
void CTamselDlg::CheckPvUnitRead()
{
    if (SettingTryFailed(202))
        return;
    const int entry = UnitCodeEntry(m_nReplyCode[0]);
    m_Wnd.ComboSetCurSel(IDC_UNIT_LIST, entry);
    if (entry < 0)
        AppendLog("Data reply not right!");
    TrimLog();
    EndScript();
}

// The verdict on a list setting's write: only the status bytes came back, or
// the echoed code names an entry of the list, or it does not.
void CTamselDlg::EndListWrite(int listId, int (*entryOf)(std::int16_t code))
{
    if (m_nReplyCode[0] == 2) {
        AppendLog("Command not implemented!");
    } else {
        const int entry = entryOf(m_nReplyCode[3]);
        m_Wnd.ComboSetCurSel(listId, entry);
        AppendLog(entry >= 0 ? "Setting succeed!" : "Data reply not right!");
    }
    TrimLog();
    EndScript();
}
