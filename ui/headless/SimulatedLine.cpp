#include "ui/headless/SimulatedLine.h"

SimulatedLine::SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options)
    : m_clock(clock), m_port(port), m_modem(std::move(options))
{
    m_port.SetWriteObserver([this](const std::vector<std::uint8_t>& bytes) {
        const auto now = static_cast<std::uint64_t>(m_clock.Now());
        for (sim::Chunk& chunk : m_modem.Feed(bytes.data(), bytes.size(), now))
            m_port.DeliverAfter(chunk.delayMs, std::move(chunk.bytes));
    });
}
