#include "ui/headless/VirtualSerialPort.h"

#include <algorithm>
#include <limits>
#include <string>

void VirtualSerialPort::SetPortOpen(bool open)
{
    if (!open) {
        m_open = false;
        m_input.clear();
        return;
    }
    if (m_open)
        throw SerialPortError("port already open");
    if (m_available.count(m_port) == 0)
        throw SerialPortError("COM" + std::to_string(m_port) + " cannot be opened");
    m_open = true;
    m_openPort = m_port;
}

std::int16_t VirtualSerialPort::GetInBufferCount() const
{
    const auto limit = static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max());
    return static_cast<std::int16_t>(std::min(m_input.size(), limit));
}

std::vector<std::uint8_t> VirtualSerialPort::GetInput()
{
    if (!m_open)
        throw SerialPortError("port closed");
    std::size_t n = m_input.size();
    if (m_inputLen > 0)
        n = std::min(n, static_cast<std::size_t>(m_inputLen));
    std::vector<std::uint8_t> bytes(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(n));
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(n));
    return bytes;
}

void VirtualSerialPort::SetOutput(const std::vector<std::uint8_t>& bytes)
{
    if (!m_open)
        throw SerialPortError("port closed");
    if (m_failWrites)
        throw SerialPortError("write failed");
    m_writes.push_back(bytes);
    m_writeTimes.push_back(m_clock.Now());
    if (m_writeObserver)
        m_writeObserver(bytes);
}

void VirtualSerialPort::DeliverAfter(std::int64_t delayMs, std::vector<std::uint8_t> bytes)
{
    m_clock.ScheduleAfter(delayMs, [this, bytes = std::move(bytes)] {
        if (!m_open)
            return;
        m_input.insert(m_input.end(), bytes.begin(), bytes.end());
        RaiseCommEvent(CommEvent::kReceive);
    });
}

void VirtualSerialPort::DeliverTextAfter(std::int64_t delayMs, std::string_view text)
{
    DeliverAfter(delayMs, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void VirtualSerialPort::LineErrorAfter(std::int64_t delayMs, std::int16_t code)
{
    m_clock.ScheduleAfter(delayMs, [this, code] {
        if (m_open)
            RaiseCommEvent(code);
    });
}

void VirtualSerialPort::LoseDeviceAfter(std::int64_t delayMs)
{
    m_clock.ScheduleAfter(delayMs, [this] {
        if (!m_open)
            return;
        m_open = false;
        m_input.clear();
        m_available.erase(m_openPort);
        RaiseCommEvent(CommEvent::kDeviceLost);
    });
}
