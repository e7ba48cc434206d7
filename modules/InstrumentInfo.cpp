// "Module 3 - Inst. Infor.": who the connected transmitter is and what its
// sensor can measure. Filled by the connect and search scripts.
#include "app/CTamselDlg.h"

#include "app/Timing.h"
#include "hart/Identity.h"
#include "hart/ResultCodes.h"
#include "hart/Units.h"
#include "modules/ModuleSteps.h"
#include "modules/Text.h"
#include "ui/dialog/ControlIds.h"

namespace {
const StepEntry kInstrumentInfoSteps[] = {
    RunStepOf(4, &CTamselDlg::ShowIdentity),
    // Command 14: sensor limits and minimum span.
    SendStep(5, 14, 6),
    RunStepOf(6, &CTamselDlg::CheckSensorLimits),
};
}  // namespace

std::span<const StepEntry> InstrumentInfoSteps() { return kInstrumentInfoSteps; }

// 4: names and number from the unique identifier that command 0 gave.
void CTamselDlg::ShowIdentity()
{
    m_Wnd.SetText(IDC_MFR, MfrName(m_UniqueId[0]));
    m_Wnd.SetText(IDC_DEV_TYPE, DevTypeName(m_UniqueId[0], m_UniqueId[1]));
    const long deviceId = m_UniqueId[2] * 65536L + m_UniqueId[3] * 256L + m_UniqueId[4];
    m_Wnd.SetText(IDC_DEV_ID, FormatText("%ld", deviceId));
    m_nStep = 5;
    m_nTries = 0;
    ArmStep(STEP_DELAY);
}

// 6: the limits in the unit the reply names; connecting goes on with
// command 15 even when the unit is unknown.
void CTamselDlg::CheckSensorLimits()
{
    if (m_nResult == kResultOk && m_nReplyItems == 5) {
        if (IsBadUnitCode(static_cast<std::uint8_t>(m_nReplyCode[3]))) {
            AppendLog("Unit code not right!");
            TrimLog();
        } else {
            const char* unit = UnitName(g_nUnitRow);
            m_Wnd.SetText(IDC_SENSOR_UPPER, FormatText("%.3f %s", double{m_fReplyValue[0]}, unit));
            m_Wnd.SetText(IDC_SENSOR_LOWER, FormatText("%.3f %s", double{m_fReplyValue[1]}, unit));
            m_Wnd.SetText(IDC_MIN_SPAN, FormatText("%.3f %s", double{m_fReplyValue[2]}, unit));
        }
        m_nStep = 7;
        m_nTries = 0;
        ArmStep(STEP_DELAY);
        return;
    }
    if (RetryCommand(5))
        return;
    AppendLog("Communication Fail");
    TrimLog();
    EndConnectScript();
}
