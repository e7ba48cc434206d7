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
    const Identity& id = state_.identity;
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
    out.push_back(state_.pvUnit);
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
        out.push_back(state_.pvUnit);
        AppendFloat(out, PvInUnit(nowMs));
    }
    return rc::kOk;
}

std::uint8_t Transmitter::ReadMessage(const Bytes&, std::uint64_t, Bytes& out)
{
    out = state_.message;
    return rc::kOk;
}

std::uint8_t Transmitter::ReadTagDescDate(const Bytes&, std::uint64_t, Bytes& out)
{
    out = state_.tag;
    out.insert(out.end(), state_.descriptor.begin(), state_.descriptor.end());
    out.insert(out.end(), state_.date.begin(), state_.date.end());
    return rc::kOk;
}

std::uint8_t Transmitter::ReadSensorInfo(const Bytes&, std::uint64_t, Bytes& out)
{
    out.assign(state_.sensorSerial.begin(), state_.sensorSerial.end());
    out.push_back(state_.pvUnit);
    AppendKpaIn(out, state_.sensorUpperKpa, state_.pvUnit);
    AppendKpaIn(out, state_.sensorLowerKpa, state_.pvUnit);
    AppendKpaIn(out, state_.minSpanKpa, state_.pvUnit);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadOutputInfo(const Bytes&, std::uint64_t, Bytes& out)
{
    out.push_back(state_.alarmSelection);
    out.push_back(state_.transferFunction);
    out.push_back(state_.rangeUnit);
    AppendFloat(out, state_.upperRange);
    AppendFloat(out, state_.lowerRange);
    AppendFloat(out, state_.damping);
    out.push_back(state_.writeProtected ? 1 : 0);
    out.push_back(state_.identity.manufacturer);  // private label distributor
    return rc::kOk;
}

std::uint8_t Transmitter::ReadAssembly(const Bytes&, std::uint64_t, Bytes& out)
{
    const std::uint32_t n = state_.finalAssembly;
    out = {static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    return rc::kOk;
}

std::uint8_t Transmitter::ReadTrimPoints(const Bytes&, std::uint64_t nowMs, Bytes& out)
{
    // 0: sensor type; 1-4: sensor temperature (degC); 5-8: uncorrected
    // pressure and 9-12: offset correction, both in the trim unit;
    // 13: trim unit; 14-17: upper trim point; 18-21: lower trim point.
    const std::uint8_t unit = state_.pvUnit;
    const double rawKpa = (PvKpa(nowMs) - state_.trimOffsetKpa) / state_.trimGain;
    out.push_back(1);
    AppendFloat(out, 25.0f);
    AppendKpaIn(out, rawKpa, unit);
    AppendKpaIn(out, state_.trimOffsetKpa, unit);
    out.push_back(unit);
    AppendKpaIn(out, state_.upperTrimKpa, unit);
    AppendKpaIn(out, state_.lowerTrimKpa, unit);
    return rc::kOk;
}

std::uint8_t Transmitter::ReadDisplay(const Bytes&, std::uint64_t, Bytes& out)
{
    out.push_back(state_.display);
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
        out.push_back(i < state_.version.size() ? static_cast<std::uint8_t>(state_.version[i]) : 0);
    }
    return rc::kOk;
}

}  // namespace sim
