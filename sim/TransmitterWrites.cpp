// Commands that change settings; each echoes what it stored.
#include <cmath>

#include "sim/Transmitter.h"

namespace sim {

namespace {

void Echo(const Bytes& request, std::size_t n, Bytes& out)
{
    out.assign(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(n));
}

constexpr std::uint8_t kMaxPollingAddress = 15;
constexpr float kMaxDampingS = 32.0f;
constexpr std::uint8_t kAlarmHoldLast = 239;

}  // namespace

std::uint8_t Transmitter::WritePollingAddress(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > kMaxPollingAddress)
        return rc::kInvalidSelection;
    m_State.identity.pollingAddress = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteMessage(const Bytes& request, std::uint64_t, Bytes& out)
{
    Echo(request, 24, out);
    m_State.message = out;
    return rc::kOk;
}

std::uint8_t Transmitter::WriteTagDescDate(const Bytes& request, std::uint64_t, Bytes& out)
{
    const std::uint8_t day = request[18];
    const std::uint8_t month = request[19];
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return rc::kProcessTooHigh;  // invalid date
    Echo(request, 21, out);
    m_State.tag.assign(out.begin(), out.begin() + 6);
    m_State.descriptor.assign(out.begin() + 6, out.begin() + 18);
    m_State.date.assign(out.begin() + 18, out.end());
    return rc::kOk;
}

std::uint8_t Transmitter::WriteAssembly(const Bytes& request, std::uint64_t, Bytes& out)
{
    m_State.finalAssembly = (std::uint32_t{request[0]} << 16) | (std::uint32_t{request[1]} << 8) | request[2];
    Echo(request, 3, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteDamping(const Bytes& request, std::uint64_t, Bytes& out)
{
    const float asked = ReadFloat(request.data());
    if (!std::isfinite(asked))
        return rc::kInvalidSelection;
    std::uint8_t code = rc::kOk;
    float damping = asked;
    if (damping < 0.0f)
        damping = 0.0f;
    if (damping > kMaxDampingS)
        damping = kMaxDampingS;
    if (damping != asked)
        code = rc::kSetToNearest;
    m_State.damping = damping;
    AppendFloat(out, damping);
    return code;
}

std::uint8_t Transmitter::ResetConfigChanged(const Bytes&, std::uint64_t, Bytes&)
{
    m_State.configChanged = false;
    return rc::kOk;
}

std::uint8_t Transmitter::WritePvUnit(const Bytes& request, std::uint64_t, Bytes& out)
{
    const auto perKpa = UnitsPerKpa(request[0]);
    if (!perKpa)
        return rc::kInvalidSelection;
    // The range follows the PV into the new unit.
    const double oldPerKpa = UnitsPerKpa(m_State.rangeUnit).value_or(1.0);
    m_State.upperRange = static_cast<float>(m_State.upperRange / oldPerKpa * *perKpa);
    m_State.lowerRange = static_cast<float>(m_State.lowerRange / oldPerKpa * *perKpa);
    m_State.rangeUnit = request[0];
    m_State.pvUnit = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteTransferFunction(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > 1)
        return rc::kInvalidSelection;
    m_State.transferFunction = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteBurstCommand(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] < 1 || request[0] > 3)
        return rc::kInvalidSelection;
    m_State.burstCommand = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteBurstMode(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > 1)
        return rc::kInvalidSelection;
    m_State.burstMode = request[0] == 1;
    Echo(request, 1, out);
    return rc::kOk;
}

// Commands 134, 135 and 192 carry a second byte that the device ignores;
// only the setting itself is echoed.
std::uint8_t Transmitter::WriteDisplay(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > 2)
        return rc::kInvalidSelection;
    m_State.display = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteAlarm(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > 1 && request[0] != kAlarmHoldLast)
        return rc::kInvalidSelection;
    m_State.alarmSelection = request[0];
    Echo(request, 1, out);
    return rc::kOk;
}

std::uint8_t Transmitter::WriteProtection(const Bytes& request, std::uint64_t, Bytes& out)
{
    if (request[0] > 1)
        return rc::kInvalidSelection;
    m_State.writeProtected = request[0] == 1;
    Echo(request, 1, out);
    return rc::kOk;
}

}  // namespace sim
