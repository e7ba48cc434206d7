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
    if (lowerKpa > state_.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (lowerKpa < state_.sensorLowerKpa)
        return rc::kProcessTooLow;
    if (upperKpa > state_.sensorUpperKpa)
        return rc::kUpperTooHigh;
    if (upperKpa < state_.sensorLowerKpa)
        return rc::kUpperTooLow;
    if (upper == lower)
        return rc::kInvalidSpan;
    state_.rangeUnit = request[0];
    state_.upperRange = upper;
    state_.lowerRange = lower;
    Echo(request, 9, out);
    return std::abs(upperKpa - lowerKpa) < state_.minSpanKpa ? rc::kSpanTooSmall : rc::kOk;
}

std::uint8_t Transmitter::SetUpperRangeHere(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    const double pv = PvKpa(nowMs);
    if (pv > state_.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (pv < state_.sensorLowerKpa)
        return rc::kProcessTooLow;
    const double perKpa = UnitsPerKpa(state_.rangeUnit).value_or(1.0);
    const auto upper = static_cast<float>(pv * perKpa);
    if (upper == state_.lowerRange)
        return rc::kInvalidSpan;
    state_.upperRange = upper;
    return std::abs(pv - state_.lowerRange / perKpa) < state_.minSpanKpa ? rc::kSpanTooSmall : rc::kOk;
}

std::uint8_t Transmitter::SetLowerRangeHere(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    const double pv = PvKpa(nowMs);
    if (pv > state_.sensorUpperKpa)
        return rc::kProcessTooHigh;
    if (pv < state_.sensorLowerKpa)
        return rc::kProcessTooLow;
    // The span is kept: the upper value moves along, but not past the sensor.
    const double perKpa = UnitsPerKpa(state_.rangeUnit).value_or(1.0);
    const double spanKpa = (state_.upperRange - state_.lowerRange) / perKpa;
    double upperKpa = pv + spanKpa;
    std::uint8_t code = rc::kOk;
    if (upperKpa > state_.sensorUpperKpa) {
        upperKpa = state_.sensorUpperKpa;
        code = rc::kSpanTooSmall;  // upper range value pushed
    }
    state_.lowerRange = static_cast<float>(pv * perKpa);
    state_.upperRange = static_cast<float>(upperKpa * perKpa);
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
    state_.fixedCurrentMa = ma;  // 0 leaves fixed-current mode
    Echo(request, 4, out);
    return rc::kOk;
}

std::uint8_t Transmitter::ZeroPv(const Bytes&, std::uint64_t nowMs, Bytes&)
{
    state_.trimOffsetKpa -= PvKpa(nowMs);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimOutputZero(const Bytes& request, std::uint64_t, Bytes& out)
{
    const float ma = ReadFloat(request.data());
    if (!std::isfinite(ma))
        return rc::kInvalidSelection;
    if (ma < 4.0f - kTrimWindowMa)
        return rc::kTooSmall;
    if (ma > 4.0f + kTrimWindowMa)
        return rc::kTooLarge;
    state_.zeroTrimMa = ma;
    Echo(request, 4, out);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimOutputGain(const Bytes& request, std::uint64_t, Bytes& out)
{
    const float ma = ReadFloat(request.data());
    if (!std::isfinite(ma))
        return rc::kInvalidSelection;
    if (ma < 20.0f - kTrimWindowMa)
        return rc::kTooSmall;
    if (ma > 20.0f + kTrimWindowMa)
        return rc::kTooLarge;
    state_.gainTrimMa = ma;
    Echo(request, 4, out);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimSensorUpper(const Bytes& request, std::uint64_t nowMs, Bytes& out)
{
    const auto perKpa = UnitsPerKpa(request[0]);
    const float value = ReadFloat(&request[1]);
    if (!perKpa || !std::isfinite(value))
        return rc::kInvalidSelection;
    const double wantKpa = value / *perKpa;
    if (wantKpa > state_.sensorUpperKpa)
        return rc::kTooLarge;
    if (wantKpa < state_.sensorLowerKpa)
        return rc::kTooSmall;
    // Turn the slope about the lower trim point so the PV reads 'value' now.
    const double pv = PvKpa(nowMs);
    const double lower = state_.lowerTrimKpa;
    if (std::abs(pv - lower) < state_.minSpanKpa)
        return rc::kProcessTooHigh;  // points too close
    const double scale = (wantKpa - lower) / (pv - lower);
    if (scale < 1.0 / kMaxGainChange || scale > kMaxGainChange)
        return rc::kProcessTooHigh;
    state_.trimGain *= scale;
    state_.trimOffsetKpa = lower + scale * (state_.trimOffsetKpa - lower);
    state_.upperTrimKpa = wantKpa;
    Echo(request, 5, out);
    return rc::kOk;
}

std::uint8_t Transmitter::TrimSensorLower(const Bytes& request, std::uint64_t nowMs, Bytes& out)
{
    const auto perKpa = UnitsPerKpa(request[0]);
    const float value = ReadFloat(&request[1]);
    if (!perKpa || !std::isfinite(value))
        return rc::kInvalidSelection;
    const double wantKpa = value / *perKpa;
    if (wantKpa > state_.sensorUpperKpa)
        return rc::kTooLarge;
    if (wantKpa < state_.sensorLowerKpa)
        return rc::kTooSmall;
    // Shift so the PV reads 'value' now.
    state_.trimOffsetKpa += wantKpa - PvKpa(nowMs);
    state_.lowerTrimKpa = wantKpa;
    Echo(request, 5, out);
    return rc::kOk;
}

}  // namespace sim
