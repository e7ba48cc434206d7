#include "modules/RangeSetting.h"

#include "dialog/ControlIds.h"
#include "hart/Units.h"
#include "modules/CommonSettings.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

// Range values always go out in kilopascal, labelled so: the transmitter
// then stores exactly the range the operator meant, whatever unit the
// fields showed it in.
constexpr std::uint8_t kKpaCode = 12;
// Status bytes, units code and two floats: the least a range reply that
// carries the range must hold.
constexpr std::int16_t kRangeReplyByteCount = 11;

}  // namespace

std::vector<StepEntry> RangeSetting::Steps()
{
    return {
        Exchange(kSetRangePrepare, 35, &RangeSetting::CheckSetRange),
        Exchange(kApply0Prepare, 37, &RangeSetting::ReadBackAfterApply),
        Exchange(kApply100Prepare, 36, &RangeSetting::ReadBackAfterApply),
    };
}

std::vector<Handler> RangeSetting::Handlers()
{
    return {
        On(IDC_SET_RANGE, &RangeSetting::OnSetRange, {IDC_RANGE_UPPER, IDC_RANGE_LOWER}),
        On(IDC_APPLY_0, &RangeSetting::OnApply0Percent),
        On(IDC_APPLY_100, &RangeSetting::OnApply100Percent),
    };
}

// --- Handlers

// The typed values are in the unit "Range Unit" shows; with no unit shown
// they mean nothing, and nothing is sent. Neither is a field without a
// number, nor one that overflows the float on the wire once in kPa: the
// transmitter would take 0 or infinity as its range.
void RangeSetting::OnSetRange()
{
    const int row = UnitRowOfName(Wnd().GetText(IDC_RANGE_UNIT));
    if (row < 0)
        return Log("Unit code not right!");
    const auto toKpa = [&](int field) -> std::optional<float> {
        const std::optional<double> typed = ScanNumber(Wnd().GetText(field));
        if (!typed)
            return std::nullopt;
        const double kpa = UnitToKpa(static_cast<std::uint8_t>(row), static_cast<float>(*typed));
        if (!(std::fabs(kpa) <= std::numeric_limits<float>::max()))
            return std::nullopt;
        return static_cast<float>(kpa);
    };
    const std::optional<float> upper = toKpa(IDC_RANGE_UPPER), lower = toKpa(IDC_RANGE_LOWER);
    if (!upper || !lower)
        return Log("Input is invalid!");
    Machine().m_nReqCode[0] = kKpaCode;
    Machine().m_fReqValue[0] = *upper;
    Machine().m_fReqValue[1] = *lower;
    StartScript(kSetRangePrepare);
}

void RangeSetting::OnApply0Percent() { StartScript(kApply0Prepare); }

void RangeSetting::OnApply100Percent() { StartScript(kApply100Prepare); }

// --- Check states

// 23: command 35 returns the range the transmitter took, with its unit. The
// response code is not judged: a reply that carries the range is shown.
void RangeSetting::CheckSetRange()
{
    if (Reply().ByteCount() < kRangeReplyByteCount)
        return FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
    if (IsBadUnitCode(static_cast<std::uint8_t>(Reply().EchoedCode()))) {
        for (int id : {IDC_RANGE_UPPER, IDC_RANGE_LOWER, IDC_RANGE_UNIT})
            Wnd().SetText(id, "");
        return FinishWith("Reply data not right!");
    }
    Wnd().SetText(IDC_RANGE_UPPER, FormatText("%+.4e", double{Reply().m_fReplyValue[0]}));
    Wnd().SetText(IDC_RANGE_LOWER, FormatText("%+.4e", double{Reply().m_fReplyValue[1]}));
    Wnd().SetText(IDC_RANGE_UNIT, FormatText("%s", UnitName(g_nUnitRow)));
    FinishWith("Setting succeed!");
}

// 103 and 106: commands 37 and 36 answer with the status bytes only. A
// confirmed apply is followed at once by the shared read, which shows the
// new range and ends the operation itself.
void RangeSetting::ReadBackAfterApply()
{
    if (Reply().ResponseCode() != 0)
        return FinishWith("Command not implemented!");
    Log("Setting succeed!");
    GoOnTo(CommonSettings::kSharedReadSend);
}
