// Range, loop output and sensor trim commands.
#include <cmath>

#include "sim/Transmitter.h"

namespace sim {

namespace {

void Echo(const Bytes& request, std::size_t n, Bytes& out)
{
    out.assign(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(n));
}

// Output trims accept a measured current this close to the nominal point.
constexpr float kTrimWindowMa = 1.0f;
constexpr float kFixedLowMa = 3.5f;
constexpr float kFixedHighMa = 22.5f;
// A two-point sensor trim may change the slope by at most this factor.
constexpr double kMaxGainChange = 2.0;

}  // namespace

std::uint8_t Transmitter::WriteRange(const Bytes& request, std::uint64_t, Bytes& out)
{
    const auto perKpa = UnitsPerKpa(request[0]);
    const float upper = ReadFloat(&request[1]);
    const float lower = ReadFloat(&request[5]);
    if (!perKpa || !std::isfinite(upper) || !std::isfinite(lower))
        return rc::kInvalidSelection;
    const double upperKpa = upper / *perKpa;
    const double lowerKpa = lower / *perKpa;
    if (lowerKpa > m_State.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (lowerKpa < m_State.sensorLowerKpa)
        return rc::kProcessTooLow;
    if (upperKpa > m_State.sensorUpperKpa)
        return rc::kUpperTooHigh;
    if (upperKpa < m_State.sensorLowerKpa)
        return rc::kUpperTooLow;
    if (upper == lower)
        return rc::kInvalidSpan;
    m_State.rangeUnit = request[0];
    m_State.upperRange = upper;
    m_State.lowerRange = lower;
    Echo(request, 9, out);
    return std::abs(upperKpa - lowerKpa) < m_State.minSpanKpa ? rc::kSpanTooSmall : rc::kOk;
}

std::uint8_t Transmitter::SetUpperRangeHere(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    const double pv = PvKpa(nowMs);
    if (pv > m_State.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (pv < m_State.sensorLowerKpa)
        return rc::kProcessTooLow;
    const double perKpa = UnitsPerKpa(m_State.rangeUnit).value_or(1.0);
    const auto upper = static_cast<float>(pv * perKpa);
    if (upper == m_State.lowerRange)
        return rc::kInvalidSpan;
    m_State.upperRange = upper;
    return std::abs(pv - m_State.lowerRange / perKpa) < m_State.minSpanKpa ? rc::kSpanTooSmall : rc::kOk;
}

std::uint8_t Transmitter::SetLowerRangeHere(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    const double pv = PvKpa(nowMs);
    if (pv > m_State.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (pv < m_State.sensorLowerKpa)
        return rc::kProcessTooLow;
    // The span is kept: the upper value moves along, but not past the sensor.
    const double perKpa = UnitsPerKpa(m_State.rangeUnit).value_or(1.0);
    const double spanKpa = (m_State.upperRange - m_State.lowerRange) / perKpa;
    double upperKpa = pv + spanKpa;
    std::uint8_t code = rc::kOk;
    if (upperKpa > m_State.sensorUpperKpa) {
        upperKpa = m_State.sensorUpperKpa;
        code = rc::kSpanTooSmall;  // upper range value pushed
    }
    m_State.lowerRange = static_cast<float>(pv * perKpa);
    m_State.upperRange = static_cast<float>(upperKpa * perKpa);
    return code;
}

std::uint8_t Transmitter::FixCurrent(const Bytes& request, std::uint64_t, Bytes& out)
{
    const float ma = ReadFloat(request.data());
    if (!std::isfinite(ma))
        return rc::kInvalidSelection;
    if (Multidrop())
        return rc::kUpperTooHigh;  // in multidrop mode
    if (ma != 0.0f) {
        if (ma < kFixedLowMa)
            return rc::kTooSmall;
        if (ma > kFixedHighMa)
            return rc::kTooLarge;
    }
    m_State.fixedCurrentMa = ma;  // 0 leaves fixed-current mode
    Echo(request, 4, out);
    return rc::kOk;
}

std::uint8_t Transmitter::ZeroPv(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    m_State.trimOffsetKpa -= PvKpa(nowMs);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimOutputZero(const Bytes& request, std::uint64_t, Bytes& out)
{
    return TrimOutput(request, 4.0f, m_State.zeroTrimMa, out);
}

std::uint8_t Transmitter::TrimOutputGain(const Bytes& request, std::uint64_t, Bytes& out)
{
    return TrimOutput(request, 20.0f, m_State.gainTrimMa, out);
}

std::uint8_t Transmitter::TrimOutput(const Bytes& request, float nominalMa, float& trimMa, Bytes& out)
{
    const float ma = ReadFloat(request.data());
    if (!std::isfinite(ma))
        return rc::kInvalidSelection;
    if (ma < nominalMa - kTrimWindowMa)
        return rc::kTooSmall;
    if (ma > nominalMa + kTrimWindowMa)
        return rc::kTooLarge;
    trimMa = ma;
    Echo(request, 4, out);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadTrimPoint(const Bytes& request, double& wantKpa) const
{
    const auto perKpa = UnitsPerKpa(request[0]);
    const float value = ReadFloat(&request[1]);
    if (!perKpa || !std::isfinite(value))
        return rc::kInvalidSelection;
    wantKpa = value / *perKpa;
    if (wantKpa > m_State.sensorUpperKpa)
        return rc::kTooLarge;
    if (wantKpa < m_State.sensorLowerKpa)
        return rc::kTooSmall;
    return rc::kOk;
}

std::uint8_t Transmitter::TurnTrim(double fixedKpa, double wantKpa, std::uint64_t nowMs)
{
    const double pv = PvKpa(nowMs);
    if (std::abs(pv - fixedKpa) < m_State.minSpanKpa)
        return rc::kProcessTooHigh;  // points too close
    const double scale = (wantKpa - fixedKpa) / (pv - fixedKpa);
    if (scale < 1.0 / kMaxGainChange || scale > kMaxGainChange)
        return rc::kProcessTooHigh;
    m_State.trimGain *= scale;
    m_State.trimOffsetKpa = fixedKpa + scale * (m_State.trimOffsetKpa - fixedKpa);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimSensorUpper(const Bytes& request, std::uint64_t nowMs, Bytes& out)
{
    double wantKpa = 0;
    if (const std::uint8_t code = ReadTrimPoint(request, wantKpa); code != rc::kOk)
        return code;
    if (const std::uint8_t code = TurnTrim(m_State.lowerTrimKpa, wantKpa, nowMs); code != rc::kOk)
        return code;
    m_State.upperTrimKpa = wantKpa;
    m_State.upperTrimmed = true;
    Echo(request, 5, out);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimSensorLower(const Bytes& request, std::uint64_t nowMs, Bytes& out)
{
    double wantKpa = 0;
    if (const std::uint8_t code = ReadTrimPoint(request, wantKpa); code != rc::kOk)
        return code;
    if (m_State.upperTrimmed) {
        if (const std::uint8_t code = TurnTrim(m_State.upperTrimKpa, wantKpa, nowMs); code != rc::kOk)
            return code;
    } else {
        m_State.trimOffsetKpa += wantKpa - PvKpa(nowMs);
    }
    m_State.lowerTrimKpa = wantKpa;
    Echo(request, 5, out);
    return rc::kOk;
}

}  // namespace sim
