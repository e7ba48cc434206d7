#include "ui/headless/VirtualSerialPort.h"

#include <algorithm>
#include <limits>
#include <string>

void VirtualSerialPort::SetPortOpen(bool open)
{
    if (!open) {
        m_Open = false;
        m_Input.clear();
        return;
    }
    if (m_Open)
        throw SerialPortError("port already open");
    if (m_Available.count(m_Port) == 0)
        throw SerialPortError("COM" + std::to_string(m_Port) + " cannot be opened");
    m_Open = true;
    m_OpenPort = m_Port;
}

std::int16_t VirtualSerialPort::GetInBufferCount() const
{
    const auto limit = static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max());
    return static_cast<std::int16_t>(std::min(m_Input.size(), limit));
}

std::vector<std::uint8_t> VirtualSerialPort::GetInput()
{
    if (!m_Open)
        throw SerialPortError("port closed");
    std::size_t n = m_Input.size();
    if (m_InputLen > 0)
        n = std::min(n, static_cast<std::size_t>(m_InputLen));
    std::vector<std::uint8_t> bytes(m_Input.begin(), m_Input.begin() + static_cast<std::ptrdiff_t>(n));
    m_Input.erase(m_Input.begin(), m_Input.begin() + static_cast<std::ptrdiff_t>(n));
    return bytes;
}

void VirtualSerialPort::SetOutput(const std::vector<std::uint8_t>& bytes)
{
    if (!m_Open)
        throw SerialPortError("port closed");
    if (m_FailWrites)
        throw SerialPortError("write failed");
    m_Writes.push_back(bytes);
    m_WriteTimes.push_back(m_Clock.Now());
    double at = static_cast<double>(m_Clock.Now());
    if (!m_BytesSent.empty())
        at = std::max(at, m_BytesSent.back().at);
    for (std::uint8_t byte : bytes)
        m_BytesSent.push_back({at += m_CharMs, byte});
    if (m_WriteObserver)
        m_WriteObserver(bytes);
}

void VirtualSerialPort::SetRts(bool level)
{
    if (!m_ModemLines)
        throw SerialPortError("the device has no modem lines");
    m_RtsEdges.push_back({static_cast<double>(m_Clock.Now()), level ? 1 : 0});
}

int VirtualSerialPort::OutputPending() const
{
    const auto now = static_cast<double>(m_Clock.Now());
    return static_cast<int>(
        std::count_if(m_BytesSent.begin(), m_BytesSent.end(), [now](const Timed& b) { return b.at > now; }));
}

void VirtualSerialPort::DeliverAfter(std::int64_t delayMs, std::vector<std::uint8_t> bytes)
{
    m_Clock.ScheduleAfter(delayMs, [this, bytes = std::move(bytes)] {
        if (!m_Open)
            return;
        m_Input.insert(m_Input.end(), bytes.begin(), bytes.end());
        RaiseCommEvent(CommEvent::kReceive);
    });
}

void VirtualSerialPort::DeliverTextAfter(std::int64_t delayMs, std::string_view text)
{
    DeliverAfter(delayMs, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void VirtualSerialPort::LineErrorAfter(std::int64_t delayMs, std::int16_t code)
{
    m_Clock.ScheduleAfter(delayMs, [this, code] {
        if (m_Open)
            RaiseCommEvent(code);
    });
}

void VirtualSerialPort::LoseDeviceAfter(std::int64_t delayMs)
{
    m_Clock.ScheduleAfter(delayMs, [this] {
        if (!m_Open)
            return;
        m_Open = false;
        m_Input.clear();
        m_Available.erase(m_OpenPort);
        RaiseCommEvent(CommEvent::kDeviceLost);
    });
}
