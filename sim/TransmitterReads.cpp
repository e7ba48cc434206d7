// Commands that only read: identity, live values, configuration, texts.
#include <algorithm>

#include "sim/Transmitter.h"

namespace sim {

namespace {

void AppendKpaIn(Bytes& out, double kpa, std::uint8_t unit)
{
    AppendFloat(out, static_cast<float>(kpa * UnitsPerKpa(unit).value_or(1.0)));
}

// Access code that unlocks the version read (command 172).
constexpr std::uint8_t kVersionAccessCode[6] = {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6};

}  // namespace

std::uint8_t Transmitter::ReadIdentity(const Bytes&, std::uint64_t, Bytes& out)
{
    const Identity& id = m_State.identity;
    out = {
        254,  // expansion code
        id.manufacturer,
        id.deviceType,
        5,             // preambles the device wants in a request
        5,             // universal command revision
        1,             // device-specific command revision
        2,             // software revision
        (1 << 3) | 0,  // hardware revision 1, Bell 202 current signalling
        0,             // device function flags
        id.deviceId[0],
        id.deviceId[1],
        id.deviceId[2],
    };
    return rc::kOk;
}

std::uint8_t Transmitter::ReadPv(const Bytes&, std::uint64_t nowMs, Bytes& out)
{
    out.push_back(m_State.pvUnit);
    AppendFloat(out, PvInUnit(nowMs));
    return rc::kOk;
}

std::uint8_t Transmitter::ReadCurrentPercent(const Bytes&, std::uint64_t nowMs, Bytes& out)
{
    AppendFloat(out, LoopCurrentMa(nowMs));
    AppendFloat(out, PercentOfRange(nowMs));
    return rc::kOk;
}

// The device measures pressure only: PV stands in for SV, TV and QV too.
std::uint8_t Transmitter::ReadDynamicVars(const Bytes&, std::uint64_t nowMs, Bytes& out)
{
    AppendFloat(out, LoopCurrentMa(nowMs));
    for (int variable = 0; variable < 4; ++variable) {
        out.push_back(m_State.pvUnit);
        AppendFloat(out, PvInUnit(nowMs));
    }
    return rc::kOk;
}

std::uint8_t Transmitter::ReadMessage(const Bytes&, std::uint64_t, Bytes& out)
{
    out = m_State.message;
    return rc::kOk;
}

std::uint8_t Transmitter::ReadTagDescDate(const Bytes&, std::uint64_t, Bytes& out)
{
    out = m_State.tag;
    out.insert(out.end(), m_State.descriptor.begin(), m_State.descriptor.end());
    out.insert(out.end(), m_State.date.begin(), m_State.date.end());
    return rc::kOk;
}

std::uint8_t Transmitter::ReadSensorInfo(const Bytes&, std::uint64_t, Bytes& out)
{
    out.assign(m_State.sensorSerial.begin(), m_State.sensorSerial.end());
    out.push_back(m_State.pvUnit);
    AppendKpaIn(out, m_State.sensorUpperKpa, m_State.pvUnit);
    AppendKpaIn(out, m_State.sensorLowerKpa, m_State.pvUnit);
    AppendKpaIn(out, m_State.minSpanKpa, m_State.pvUnit);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadOutputInfo(const Bytes&, std::uint64_t, Bytes& out)
{
    out.push_back(m_State.alarmSelection);
    out.push_back(m_State.transferFunction);
    out.push_back(m_State.rangeUnit);
    AppendFloat(out, m_State.upperRange);
    AppendFloat(out, m_State.lowerRange);
    AppendFloat(out, m_State.damping);
    out.push_back(m_State.writeProtected ? 1 : 0);
    out.push_back(m_State.identity.manufacturer);  // private label distributor
    return rc::kOk;
}

std::uint8_t Transmitter::ReadAssembly(const Bytes&, std::uint64_t, Bytes& out)
{
    const std::uint32_t n = m_State.finalAssembly;
    out = {static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    return rc::kOk;
}

std::uint8_t Transmitter::ReadBurstConfig(const Bytes&, std::uint64_t, Bytes& out)
{
    out = {static_cast<std::uint8_t>(m_State.burstMode ? 1 : 0), m_State.burstCommand};
    return rc::kOk;
}

std::uint8_t Transmitter::ReadTrimPoints(const Bytes&, std::uint64_t nowMs, Bytes& out)
{
    // 0: sensor type; 1-4: sensor temperature (degC); 5-8: uncorrected
    // pressure and 9-12: offset correction, both in the trim unit;
    // 13: trim unit; 14-17: upper trim point; 18-21: lower trim point.
    const std::uint8_t unit = m_State.pvUnit;
    const double rawKpa = (PvKpa(nowMs) - m_State.trimOffsetKpa) / m_State.trimGain;
    out.push_back(1);
    AppendFloat(out, 25.0f);
    AppendKpaIn(out, rawKpa, unit);
    AppendKpaIn(out, m_State.trimOffsetKpa, unit);
    out.push_back(unit);
    AppendKpaIn(out, m_State.upperTrimKpa, unit);
    AppendKpaIn(out, m_State.lowerTrimKpa, unit);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadDisplay(const Bytes&, std::uint64_t, Bytes& out)
{
    out.push_back(m_State.display);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadVersion(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (!std::equal(std::begin(kVersionAccessCode), std::end(kVersionAccessCode), request.begin())) {
        return rc::kAccessRestricted;
    }
    // 0-5: the access code back; 6-11: the version text, zero-padded.
    out.assign(request.begin(), request.begin() + 6);
    for (std::size_t i = 0; i < 6; ++i) {
        out.push_back(i < m_State.version.size() ? static_cast<std::uint8_t>(m_State.version[i]) : 0);
    }
    return rc::kOk;
}

}  // namespace sim
