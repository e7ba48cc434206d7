#include "link/HexLineLink.h"

#include "dialog/Timing.h"
#include "modem/Envelope.h"
#include "modem/Hex.h"

HexLineLink::HexLineLink(DialogWindow& window, SerialPort& comm)
    : m_Comm(comm), m_Rx(window, comm, [this](std::string_view error) { ReportError(error); })
{
}

Link::OpenState HexLineLink::Open()
{
    m_Rx.ResetReceive();
    return OpenState::Ready;
}

void HexLineLink::Send(std::span<const std::uint8_t> frame)
{
    m_Rx.ResetReceive();
    std::vector<char> hex(frame.size() * 2 + 1);
    const int hexLen = BytesToHex(frame.data(), hex.data(), static_cast<std::int16_t>(frame.size()));
    m_TxBytes.resize(static_cast<std::size_t>(hexLen) + kEnvelopeOverhead + 1);
    m_TxBytes.resize(static_cast<std::size_t>(WrapRequestLine(hex.data(), hexLen, m_TxBytes.data())));
    m_Comm.SetOutput(m_TxBytes);
}

void HexLineLink::OnTimer(int timerId)
{
    if (timerId != TIMER_RX)
        return;
    if (const std::optional<ModemReply> reply = m_Rx.CheckReply())
        Deliver(*reply);
}
