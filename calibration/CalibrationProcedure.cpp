#include "calibration/CalibrationProcedure.h"

#include "hart/Identity.h"
#include "hart/PackedAscii.h"
#include "hart/Units.h"
#include "text/Format.h"

namespace {

constexpr std::int16_t kCommand0Items = 5;
constexpr std::int16_t kSettingItems = 8;
constexpr int kLinear = 0;
constexpr const char* kTransferFunctions[] = {"linear", "square root"};

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

std::vector<StepEntry> CalibrationProcedure::Steps()
{
    using C = CalibrationProcedure;
    const auto failing = [this](StepEntry row, std::string what) {
        return std::move(row).WhenOutOfTries([this, what] { Fail("no answer to " + what); });
    };
    return {
        failing(
            Exchange(kIdentityPrepare, 0, &C::ShowIdentity).Items(ItemRule::Exactly, kCommand0Items).SendOnlyIf([this] {
                Machine().m_nReqCode[0] = m_Online.m_nScanAddr;
                return true;
            }),
            "command 0"),
        failing(Exchange(kTagPrepare, 13, &C::TakeTag), "command 13"),
        failing(Exchange(kSettingPrepare, 15, &C::TakeSetting).Items(ItemRule::Exactly, kSettingItems), "command 15"),
        failing(Exchange(kPvPrepare, 1, &C::TakePv).Items(ItemRule::AtLeast, 2), "command 1"),
        failing(Exchange(kCurrentPrepare, 2, &C::TakeCurrent).Items(ItemRule::AtLeast, 2), "command 2"),
    };
}

std::string CalibrationProcedure::Start(const std::string& kind, const RunOptions& options, const std::string& today,
                                        const std::string& now)
{
    if (Machine().IsOperationRunning())
        return "an operation is running";
    if (kind != "as-found" && kind != "as-left")
        return "a run is as-found or as-left, not " + kind;
    if (options.points.empty() || options.reads < 1 || !(options.tolerancePct > 0))
        return "a run needs test points, at least one read a point and a tolerance above 0";
    m_Kind = kind;
    m_Options = options;
    m_Today = today;
    m_Now = now;
    m_Reading = {};
    m_InPoint = false;
    m_LastFailure.clear();
    StartScript(kIdentityPrepare);
    return {};
}

std::optional<std::size_t> CalibrationProcedure::NextPoint()
{
    CalRun* run = CurrentRun();
    if (!run || run->ended)
        return std::nullopt;
    for (std::size_t i = 0; i < run->points.size(); ++i)
        if (run->points[i].state == CalPoint::State::Pending)
            return i;
    return std::nullopt;
}

std::string CalibrationProcedure::RecordPoint(double reference)
{
    if (Machine().IsOperationRunning())
        return "an operation is running";
    const std::optional<std::size_t> next = NextPoint();
    if (!next)
        return "no run is waiting for a point";
    m_Point = *next;
    CurrentRun()->points[m_Point].reference = reference;
    m_Reads = 0;
    m_PvSum = m_MaSum = 0;
    m_InPoint = true;
    m_LastFailure.clear();
    StartScript(kPvPrepare);
    return {};
}

std::string CalibrationProcedure::SkipPoint()
{
    const std::optional<std::size_t> next = NextPoint();
    if (!next || Machine().IsOperationRunning())
        return "no run is waiting for a point";
    CurrentRun()->points[*next].state = CalPoint::State::Skipped;
    Changed("skip");
    return {};
}

std::string CalibrationProcedure::EndRun()
{
    CalRun* run = CurrentRun();
    if (!run || run->ended || Machine().IsOperationRunning())
        return "no run to end";
    run->ended = true;
    ReportNote("calibration: " + run->kind + " run ended: " + (run->Passed() ? "pass, " : "fail, ") +
               std::to_string(run->DoneCount()) + " points");
    Changed("end");
    return {};
}

// 303: who answered, as the connect shows it.
void CalibrationProcedure::ShowIdentity()
{
    const std::uint8_t* id = Machine().m_UniqueId;
    m_Reading.manufacturerCode = id[0];
    m_Reading.deviceTypeCode = id[1];
    m_Reading.manufacturer = MfrName(id[0]);
    m_Reading.deviceType = DevTypeName(id[0], id[1]);
    m_Reading.deviceId = id[2] * 65536L + id[3] * 256L + id[4];
    m_Reading.pollingAddress = m_Online.m_nScanAddr;
    GoOnTo(kTagPrepare);
}

// 306
void CalibrationProcedure::TakeTag()
{
    const std::uint8_t* data = Reply().m_pReplyData;
    m_Reading.tag = Trimmed(UnpackTextField(data, 8));
    m_Reading.descriptor = Trimmed(UnpackTextField(data + 6, 16));
    GoOnTo(kSettingPrepare);
}

// 309: the errors hold for a linear transfer function only.
void CalibrationProcedure::TakeSetting()
{
    const std::int16_t* code = Reply().m_nReplyCode;
    const float* value = Reply().m_fReplyValue;
    const int unitRow = UnitRowOfCode(static_cast<std::uint8_t>(code[2]));
    m_Reading.unitCode = code[2];
    m_Reading.unit = UnitName(unitRow);
    m_Reading.upperRange = value[0];
    m_Reading.lowerRange = value[1];
    m_Reading.damping = value[2];
    m_Reading.transferFunctionCode = code[1];
    m_Reading.transferFunction = code[1] == 0 || code[1] == 1 ? kTransferFunctions[code[1]] : "unknown";
    if (unitRow < 0)
        return Refuse("the range unit " + std::to_string(code[2]) + " is not one the tool knows");
    if (code[1] != kLinear)
        return Refuse("the transfer function is " + m_Reading.transferFunction +
                      ": errors in percent of span hold for a linear one only");
    if (!(m_Reading.upperRange != m_Reading.lowerRange))
        return Refuse("the range has no span");
    // One calibration a device and day: a run of the same day joins it.
    if (m_Record.date != m_Today || m_Record.device.deviceId != m_Reading.deviceId ||
        m_Record.device.manufacturerCode != m_Reading.manufacturerCode) {
        const Calibration details = m_Record;
        m_Record = {};
        m_Record.technician = details.technician;
        m_Record.reference = details.reference;
    }
    m_Record.date = m_Today;
    m_Record.device = m_Reading;
    CalRun run;
    run.kind = m_Kind;
    run.started = m_Now;
    run.tolerancePct = m_Options.tolerancePct;
    run.reads = m_Options.reads;
    run.points = PlanPoints(m_Options.points, m_Options.updown);
    (m_Kind == "as-left" ? m_Record.asLeft : m_Record.asFound) = std::move(run);
    ReportNote("calibration: " + m_Kind + " run started on " + m_Reading.tag + ", " +
               FormatText("%g", m_Reading.lowerRange) + " to " + FormatText("%g", m_Reading.upperRange) + " " +
               m_Reading.unit);
    EndOperation();
    Changed("device");
}

// 312: the PV in the range's unit.
void CalibrationProcedure::TakePv()
{
    const int row = UnitRowOfCode(static_cast<std::uint8_t>(Reply().m_nReplyCode[0]));
    const int rangeRow = UnitRowOfCode(static_cast<std::uint8_t>(m_Record.device.unitCode));
    if (row < 0)
        return Refuse("the PV unit " + std::to_string(Reply().m_nReplyCode[0]) + " is not one the tool knows");
    m_PvSum += UnitToKpa(static_cast<std::uint8_t>(row), Reply().m_fReplyValue[0]) * UnitPerKpa[rangeRow];
    GoOnTo(kCurrentPrepare);
}

// 315: after as many reads as the run asks, the point is judged.
void CalibrationProcedure::TakeCurrent()
{
    m_MaSum += Reply().m_fReplyValue[0];
    CalRun& run = *CurrentRun();
    if (++m_Reads < run.reads)
        return GoOnTo(kPvPrepare);
    CalPoint& point = run.points[m_Point];
    point.pv = m_PvSum / m_Reads;
    point.ma = m_MaSum / m_Reads;
    point.state = CalPoint::State::Done;
    Judge(point, m_Record.device, run.tolerancePct);
    m_InPoint = false;
    ReportNote("calibration: " + run.kind + " point " + FormatText("%g", point.targetPct) + " % reference " +
               FormatText("%g", point.reference) + " pv " + FormatText("%.4f", point.pv) + " ma " +
               FormatText("%.4f", point.ma) + (point.pass ? " pass" : " fail"));
    EndOperation();
    Changed("point");
}

void CalibrationProcedure::Fail(const std::string& why)
{
    Refuse(why);
    FinishWith("Communication fail!");
}

// A point that fails ends its run: what it read so far is kept.
void CalibrationProcedure::Refuse(const std::string& why)
{
    m_LastFailure = why;
    if (CalRun* run = m_InPoint ? CurrentRun() : nullptr) {
        CalPoint& point = run->points[m_Point];
        point.state = CalPoint::State::Failed;
        m_LastFailure = "point " + FormatText("%g", point.targetPct) + " %: " + why;
        run->failure = m_LastFailure;
        run->ended = true;
    }
    m_InPoint = false;
    ReportNote("calibration: " + m_Kind + " run stopped: " + m_LastFailure);
    EndOperation();
    Changed("failure");
}

void CalibrationProcedure::Changed(const std::string& event)
{
    if (onChange)
        onChange(event);
}
