#include "ui/headless/SimulatedLine.h"

SimulatedLine::SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options, SimLink link)
    : m_Clock(clock), m_Port(port)
{
    LinkSettings linkSettings;
    switch (link) {
    case SimLink::HexLine:
        m_HexLine = std::make_unique<sim::Modem>(std::move(options));
        break;
    case SimLink::Binary:
        m_Binary = std::make_unique<sim::FskModem>(std::move(options));
        linkSettings.kind = LinkKind::BinaryModem;
        linkSettings.rts = KeyLevel::None;
        break;
    case SimLink::HartIp:
        m_HartIp = std::make_unique<sim::HartIp>(std::move(options), sim::hartip::kVersion, sim::Link::kTcp);
        linkSettings.kind = LinkKind::HartIpTcp;
        break;
    }
    m_Port.SetSettings(linkSettings);
    m_Port.SetWriteObserver([this](const std::vector<std::uint8_t>& bytes) {
        Deliver(Feed(bytes, static_cast<std::uint64_t>(m_Clock.Now())));
        ArmNextBurst();
    });
}

SimulatedLine::~SimulatedLine()
{
    m_Clock.Cancel(m_BurstEvent);
    m_Port.SetWriteObserver({});
}

sim::Responder& SimulatedLine::Answers()
{
    return m_HexLine ? m_HexLine->Answers() : m_Binary ? m_Binary->Answers() : m_HartIp->Answers();
}

std::vector<sim::Chunk> SimulatedLine::Feed(const std::vector<std::uint8_t>& bytes, std::uint64_t now)
{
    if (m_HexLine)
        return m_HexLine->Feed(bytes.data(), bytes.size(), now);
    if (m_Binary)
        return m_Binary->Feed(bytes.data(), bytes.size(), now);
    return m_HartIp->Feed(bytes.data(), bytes.size(), now);
}

std::optional<std::uint64_t> SimulatedLine::NextEventMs() const
{
    return m_HexLine ? m_HexLine->NextEventMs() : m_Binary ? m_Binary->NextEventMs() : m_HartIp->NextEventMs();
}

std::vector<sim::Chunk> SimulatedLine::Advance(std::uint64_t now)
{
    return m_HexLine ? m_HexLine->Advance(now) : m_Binary ? m_Binary->Advance(now) : m_HartIp->Advance(now);
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
    const auto due = NextEventMs();
    if (!due)
        return;
    m_BurstEvent = m_Clock.ScheduleAt(static_cast<std::int64_t>(*due), [this] {
        m_BurstEvent = 0;
        Deliver(Advance(static_cast<std::uint64_t>(m_Clock.Now())));
        ArmNextBurst();
    });
}
