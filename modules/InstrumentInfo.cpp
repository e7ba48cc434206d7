#include "modules/InstrumentInfo.h"

#include "dialog/ControlIds.h"
#include "hart/Identity.h"
#include "hart/Units.h"
#include "modules/CommonSettings.h"
#include "text/Format.h"

std::vector<StepEntry> InstrumentInfo::Steps()
{
    return {
        Run(kShowIdentity, &InstrumentInfo::ShowIdentity),
        // Its failed end leaves only the ways to connect again.
        Exchange(kSensorLimitsSend, 14, &InstrumentInfo::CheckSensorLimits)
            .WithoutPrepare()
            .Items(ItemRule::Exactly, 5)
            .WhenOutOfTries([this] {
                Log("Communication Fail");
                Machine().EndConnect();
            }),
    };
}

// 4: names and number from the unique identifier that command 0 gave.
void InstrumentInfo::ShowIdentity()
{
    const std::uint8_t* id = Machine().m_UniqueId;
    Wnd().SetText(IDC_MFR, MfrName(id[0]));
    Wnd().SetText(IDC_DEV_TYPE, DevTypeName(id[0], id[1]));
    Wnd().SetText(IDC_DEV_ID, FormatText("%ld", id[2] * 65536L + id[3] * 256L + id[4]));
    GoOnTo(kSensorLimitsSend);
}

// 6: the limits in the unit the reply names; connecting goes on with
// command 15 even when the unit is unknown.
void InstrumentInfo::CheckSensorLimits()
{
    if (IsBadUnitCode(static_cast<std::uint8_t>(Reply().m_nReplyCode[3]))) {
        Log("Unit code not right!");
    } else {
        const char* unit = UnitName(g_nUnitRow);
        const float* value = Reply().m_fReplyValue;
        Wnd().SetText(IDC_SENSOR_UPPER, FormatText("%.3f %s", double{value[0]}, unit));
        Wnd().SetText(IDC_SENSOR_LOWER, FormatText("%.3f %s", double{value[1]}, unit));
        Wnd().SetText(IDC_MIN_SPAN, FormatText("%.3f %s", double{value[2]}, unit));
    }
    GoOnTo(CommonSettings::kSharedReadSend);
}
