#include "ui/headless/SimulatedLine.h"

SimulatedLine::SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options)
    : m_Clock(clock), m_Port(port), m_Modem(std::move(options))
{
    m_Port.SetWriteObserver([this](const std::vector<std::uint8_t>& bytes) {
        const auto now = static_cast<std::uint64_t>(m_Clock.Now());
        Deliver(m_Modem.Feed(bytes.data(), bytes.size(), now));
        ArmNextBurst();
    });
}

SimulatedLine::~SimulatedLine()
{
    m_Clock.Cancel(m_BurstEvent);
    m_Port.SetWriteObserver({});
}

void SimulatedLine::Deliver(std::vector<sim::Chunk> chunks)
{
    for (sim::Chunk& chunk : chunks)
        m_Port.DeliverAfter(chunk.delayMs, std::move(chunk.bytes));
}

void SimulatedLine::ArmNextBurst()
{
    m_Clock.Cancel(m_BurstEvent);
    m_BurstEvent = 0;
    const auto due = m_Modem.NextEventMs();
    if (!due)
        return;
    m_BurstEvent = m_Clock.ScheduleAt(static_cast<std::int64_t>(*due), [this] {
        m_BurstEvent = 0;
        Deliver(m_Modem.Advance(static_cast<std::uint64_t>(m_Clock.Now())));
        ArmNextBurst();
    });
}
