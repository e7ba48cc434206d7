#include "sim/Transmitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

// Codes 8 and 14 are warnings: the command took effect and its data follow.
bool IsError(std::uint8_t code) { return code != rc::kOk && code != rc::kSetToNearest && code != rc::kSpanTooSmall; }

// Output limits of the 4-20 mA loop (NAMUR saturation values).
constexpr double kCurrentLowMa = 3.8;
constexpr double kCurrentHighMa = 20.5;

}  // namespace

Transmitter::Transmitter(Identity identity) { m_State.identity = identity; }

const Transmitter::Command* Transmitter::Find(std::uint8_t number)
{
    static const Command kCommands[] = {
        {0, 0, false, &Transmitter::ReadIdentity},
        {1, 0, false, &Transmitter::ReadPv},
        {2, 0, false, &Transmitter::ReadCurrentPercent},
        {3, 0, false, &Transmitter::ReadDynamicVars},
        {6, 1, true, &Transmitter::WritePollingAddress},
        {12, 0, false, &Transmitter::ReadMessage},
        {13, 0, false, &Transmitter::ReadTagDescDate},
        {14, 0, false, &Transmitter::ReadSensorInfo},
        {15, 0, false, &Transmitter::ReadOutputInfo},
        {16, 0, false, &Transmitter::ReadAssembly},
        {17, 24, true, &Transmitter::WriteMessage},
        {18, 21, true, &Transmitter::WriteTagDescDate},
        {19, 3, true, &Transmitter::WriteAssembly},
        {34, 4, true, &Transmitter::WriteDamping},
        {35, 9, true, &Transmitter::WriteRange},
        {36, 0, true, &Transmitter::SetUpperRangeHere},
        {37, 0, true, &Transmitter::SetLowerRangeHere},
        {38, 0, false, &Transmitter::ResetConfigChanged},
        {40, 4, false, &Transmitter::FixCurrent},
        {43, 0, true, &Transmitter::ZeroPv},
        {44, 1, true, &Transmitter::WritePvUnit},
        {45, 4, true, &Transmitter::TrimOutputZero},
        {46, 4, true, &Transmitter::TrimOutputGain},
        {47, 1, true, &Transmitter::WriteTransferFunction},
        {105, 0, false, &Transmitter::ReadBurstConfig},
        {108, 1, true, &Transmitter::WriteBurstCommand},
        {109, 1, false, &Transmitter::WriteBurstMode},
        {128, 0, false, &Transmitter::ReadTrimPoints},
        {130, 5, true, &Transmitter::TrimSensorUpper},
        {131, 5, true, &Transmitter::TrimSensorLower},
        {134, 1, true, &Transmitter::WriteDisplay},
        {135, 1, true, &Transmitter::WriteAlarm},
        {165, 0, false, &Transmitter::ReadDisplay},
        {172, 6, false, &Transmitter::ReadVersion},
        // Write protection itself stays writable, or it could never be lifted.
        {192, 1, false, &Transmitter::WriteProtection},
    };
    for (const Command& c : kCommands) {
        if (c.number == number)
            return &c;
    }
    return nullptr;
}

Reply Transmitter::Handle(std::uint8_t command, const Bytes& request, std::uint64_t nowMs)
{
    Reply reply;
    const Command* entry = Find(command);
    if (entry == nullptr) {
        reply.responseCode = rc::kNotImplemented;
    } else if (request.size() < entry->requestBytes) {
        reply.responseCode = rc::kTooFewDataBytes;
    } else if (entry->configWrite && m_State.writeProtected) {
        reply.responseCode = rc::kWriteProtected;
    } else {
        reply.responseCode = (this->*(entry->handler))(request, nowMs, reply.data);
        if (IsError(reply.responseCode)) {
            reply.data.clear();
        } else if (entry->configWrite) {
            m_State.configChanged = true;
        }
    }
    // The status reflects the state after the command.
    reply.deviceStatus = DeviceStatus(nowMs);
    return reply;
}

double Transmitter::AppliedKpa(std::uint64_t nowMs) const
{
    if (!m_State.wobble)
        return m_State.processKpa;
    // Two slow sines: live-looking but a pure function of time. More damping
    // means a calmer reading. At time 0 the wobble is exactly zero.
    const double t = static_cast<double>(nowMs);
    const double amplitude = 0.25 / (1.0 + std::max(0.0f, m_State.damping));
    const double wobble =
        0.8 * std::sin(2.0 * std::numbers::pi * t / 12000.0) + 0.2 * std::sin(2.0 * std::numbers::pi * t / 1700.0);
    return m_State.processKpa + amplitude * wobble;
}

double Transmitter::PvKpa(std::uint64_t nowMs) const
{
    const double reading = (1.0 + m_State.sensorErrorPct / 100.0) * AppliedKpa(nowMs);
    return m_State.trimGain * reading + m_State.trimOffsetKpa;
}

float Transmitter::PvInUnit(std::uint64_t nowMs) const
{
    return static_cast<float>(PvKpa(nowMs) * UnitsPerKpa(m_State.pvUnit).value_or(1.0));
}

float Transmitter::PercentOfRange(std::uint64_t nowMs) const
{
    const double perKpa = UnitsPerKpa(m_State.rangeUnit).value_or(1.0);
    const double upper = m_State.upperRange / perKpa;
    const double lower = m_State.lowerRange / perKpa;
    if (upper == lower)
        return 0.0f;
    double percent = (PvKpa(nowMs) - lower) / (upper - lower) * 100.0;
    if (m_State.transferFunction == 1) {
        percent = percent <= 0.0 ? 0.0 : 10.0 * std::sqrt(percent);
    }
    return static_cast<float>(percent);
}

double Transmitter::UnclampedCurrentMa(std::uint64_t nowMs) const
{
    return 4.0 + 0.16 * static_cast<double>(PercentOfRange(nowMs));
}

float Transmitter::LoopCurrentMa(std::uint64_t nowMs) const
{
    // A multidropped device parks its output at 4 mA.
    if (Multidrop())
        return 4.0f;
    if (m_State.fixedCurrentMa != 0.0f)
        return m_State.fixedCurrentMa;
    return static_cast<float>(std::clamp(UnclampedCurrentMa(nowMs), kCurrentLowMa, kCurrentHighMa));
}

std::uint8_t Transmitter::DeviceStatus(std::uint64_t nowMs) const
{
    std::uint8_t bits = 0;
    if (m_State.configChanged)
        bits |= status::kConfigChanged;
    if (Multidrop() || m_State.fixedCurrentMa != 0.0f) {
        bits |= status::kCurrentFixed;
    } else {
        const double ma = UnclampedCurrentMa(nowMs);
        if (ma < kCurrentLowMa || ma > kCurrentHighMa)
            bits |= status::kCurrentSaturated;
    }
    const double pv = PvKpa(nowMs);
    if (pv > m_State.sensorUpperKpa || pv < m_State.sensorLowerKpa)
        bits |= status::kPvOutOfLimits;
    return bits;
}

}  // namespace sim
