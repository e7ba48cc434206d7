#include "ui/headless/SimulatedLine.h"

SimulatedLine::SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options)
    : m_clock(clock), m_port(port), m_modem(std::move(options))
{
    m_port.SetWriteObserver([this](const std::vector<std::uint8_t>& bytes) {
        const auto now = static_cast<std::uint64_t>(m_clock.Now());
        Deliver(m_modem.Feed(bytes.data(), bytes.size(), now));
        ArmNextBurst();
    });
}

SimulatedLine::~SimulatedLine()
{
    m_clock.Cancel(m_burstEvent);
    m_port.SetWriteObserver({});
}

void SimulatedLine::Deliver(std::vector<sim::Chunk> chunks)
{
    for (sim::Chunk& chunk : chunks)
        m_port.DeliverAfter(chunk.delayMs, std::move(chunk.bytes));
}

void SimulatedLine::ArmNextBurst()
{
    m_clock.Cancel(m_burstEvent);
    m_burstEvent = 0;
    const auto due = m_modem.NextEventMs();
    if (!due)
        return;
    m_burstEvent = m_clock.ScheduleAt(static_cast<std::int64_t>(*due), [this] {
        m_burstEvent = 0;
        Deliver(m_modem.Advance(static_cast<std::uint64_t>(m_clock.Now())));
        ArmNextBurst();
    });
}
