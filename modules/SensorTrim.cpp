#include "modules/SensorTrim.h"

#include "dialog/ControlIds.h"
#include "hart/Units.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace {

// Status bytes, units code and the trim point: the least a trim reply that
// carries the point must hold.
constexpr std::int16_t kTrimReplyByteCount = 7;

}  // namespace

std::vector<StepEntry> SensorTrim::Steps()
{
    return {
        Exchange(kReadTrimPrepare, 128, &SensorTrim::CheckReadTrim),
        Exchange(kShiftZeroPrepare, 43, &SensorTrim::CheckShiftZero),
        ExchangeOf(kApplyLowerPrepare, 131, [this] { CheckTrimPoint(IDC_TRIM_LOWER); }),
        ExchangeOf(kApplyUpperPrepare, 130, [this] { CheckTrimPoint(IDC_TRIM_UPPER); }),
    };
}

std::vector<Handler> SensorTrim::Handlers()
{
    return {
        On(IDC_READ_TRIM, &SensorTrim::OnReadTrim),
        On(IDC_SHIFT_ZERO, &SensorTrim::OnShiftZero),
        On(IDC_APPLY_LOWER, &SensorTrim::OnApplyLower, {IDC_TRIM_LOWER}),
        On(IDC_APPLY_UPPER, &SensorTrim::OnApplyUpper, {IDC_TRIM_UPPER}),
    };
}

// --- Handlers

void SensorTrim::OnReadTrim() { StartScript(kReadTrimPrepare); }

void SensorTrim::OnShiftZero() { StartScript(kShiftZeroPrepare); }

void SensorTrim::OnApplyLower() { ApplyTrimPoint(IDC_TRIM_LOWER, kApplyLowerPrepare); }

void SensorTrim::OnApplyUpper() { ApplyTrimPoint(IDC_TRIM_UPPER, kApplyUpperPrepare); }

// The typed point goes out as typed, labelled with the unit "Trim Unit"
// shows: the unit the operator read the points in, whatever unit another
// reply showed since. A field without a number sends nothing: a trim point
// of 0 would spoil the sensor's calibration.
void SensorTrim::ApplyTrimPoint(int field, std::int16_t firstState)
{
    const int row = UnitRowOfName(Wnd().GetText(IDC_TRIM_UNIT));
    if (row < 0)
        return Log("Unit code not right!");
    const std::optional<double> point = ScanNumber(Wnd().GetText(field));
    if (!point)
        return Log("Input is invalid!");
    Machine().m_nReqCode[0] = UnitCodeOfRow(row);
    Machine().m_fReqValue[0] = static_cast<float>(*point);
    StartScript(firstState);
}

// --- Check states

// 26: command 128's trim points in the unit it names; nothing is logged on
// success.
void SensorTrim::CheckReadTrim()
{
    if (IsBadUnitCode(static_cast<std::uint8_t>(Reply().m_nReplyCode[0])))
        return DropTrimDisplay("Reply data not right!");
    Wnd().SetText(IDC_TRIM_UPPER, FormatText("%+.4e", double{Reply().m_fReplyValue[0]}));
    Wnd().SetText(IDC_TRIM_LOWER, FormatText("%+.4e", double{Reply().m_fReplyValue[1]}));
    Wnd().SetText(IDC_TRIM_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    TrimLog();
    EndOperation();
}

// 38: command 43 answers with the status bytes only.
void SensorTrim::CheckShiftZero()
{
    FinishWith(Reply().ResponseCode() != 0 ? "Command not implemented!" : "Setting succeed!");
}

// 41 and 44: commands 131 and 130 return the trim point the transmitter took,
// with its unit. The response code is not judged.
void SensorTrim::CheckTrimPoint(int field)
{
    if (Reply().ByteCount() < kTrimReplyByteCount)
        return FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
    if (IsBadUnitCode(static_cast<std::uint8_t>(Reply().EchoedCode())))
        return DropTrimDisplay("Data reply not right!");
    Wnd().SetText(field, FormatText("%+.4e", double{Reply().m_fReplyValue[0]}));
    Wnd().SetText(IDC_TRIM_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    FinishWith("Setting succeed!");
}

// A reply in a unit the tool does not know leaves no unit to type points in:
// with "Trim Unit" empty the end of the operation leaves the trim points and
// both Apply buttons disabled.
void SensorTrim::DropTrimDisplay(std::string_view message)
{
    for (int id : {IDC_TRIM_UPPER, IDC_TRIM_LOWER, IDC_TRIM_UNIT})
        Wnd().SetText(id, "");
    AppendLog(message);
    TrimLog();
    EndOperation();
}
