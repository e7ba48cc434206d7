#include "link/HartIpLink.h"

#include "dialog/Timing.h"

#include <string>

using hartip::Message;

Link::OpenState HartIpLink::Open()
{
    m_Stream = m_Comm.Settings().kind == LinkKind::HartIpTcp;
    m_Reader = {};
    m_PduInFlight.reset();
    m_Session = Session::Initiating;
    m_InitiateSequence = Post(hartip::kSessionInitiate, hartip::InitiateBody(kInactivityCloseMs));
    m_Wnd.SetTimer(TIMER_LINK, kInitiateTimeoutMs);
    return OpenState::Pending;
}

void HartIpLink::Close()
{
    m_Wnd.KillTimer(TIMER_LINK);
    m_Wnd.KillTimer(TIMER_LINK_IDLE);
    if (m_Session == Session::Open) {
        try {
            Post(hartip::kSessionClose, {});
        } catch (const SerialPortError&) {
            // Closing anyway; the gateway's inactivity time ends the session.
        }
    }
    m_Session = Session::Closed;
}

// Every message the client sends is traffic for the gateway's inactivity
// timer: the keep-alive counts from the last one.
std::uint16_t HartIpLink::Post(std::uint8_t id, std::vector<std::uint8_t> body)
{
    const std::uint16_t sequence = ++m_Sequence;
    m_Comm.SetOutput(hartip::Encode(Message{hartip::kVersion, hartip::kRequest, id, 0, sequence, std::move(body)}));
    if (m_Session == Session::Open)
        m_Wnd.SetTimer(TIMER_LINK_IDLE, kKeepAliveMs);
    return sequence;
}

void HartIpLink::Send(std::span<const std::uint8_t> frame)
{
    if (m_Session != Session::Open)
        throw SerialPortError("no HART-IP session");
    m_PduInFlight = Post(hartip::kPdu, {frame.begin(), frame.end()});
}

void HartIpLink::OnTimer(int timerId)
{
    if (timerId == TIMER_LINK && m_Session == Session::Initiating)
        return Fail("no answer to the session initiate in " + std::to_string(kInitiateTimeoutMs) + " ms");
    if (timerId == TIMER_LINK_IDLE && m_Session == Session::Open) {
        try {
            Post(hartip::kKeepAlive, {});
        } catch (const SerialPortError& e) {
            ReportError(std::string("HART-IP keep-alive: ") + e.what());
        }
    }
}

void HartIpLink::OnCommEvent()
{
    if (m_Comm.GetCommEvent() != CommEvent::kReceive)
        return;
    const std::vector<std::uint8_t> input = ReadAll(m_Comm);
    if (input.empty())
        return;
    if (m_Stream) {
        for (const Message& message : m_Reader.Feed(input.data(), input.size()))
            Take(message);
    } else if (const std::optional<Message> message = hartip::Reader::Datagram(input.data(), input.size())) {
        Take(*message);
    } else {
        ReportError("HART-IP: a datagram that holds no message");
    }
}

void HartIpLink::Fail(std::string why)
{
    m_Wnd.KillTimer(TIMER_LINK);
    m_Session = Session::Closed;
    ReportError("HART-IP: " + why);
    ReportOpened(false);
}

void HartIpLink::TakeInitiateResponse(const Message& message)
{
    if (message.sequence != m_InitiateSequence)
        return;
    if (message.type != hartip::kResponse || message.status != 0)
        return Fail("session refused: message type " + std::to_string(message.type) + ", status " +
                    std::to_string(message.status));
    m_Wnd.KillTimer(TIMER_LINK);
    m_Session = Session::Open;
    m_Wnd.SetTimer(TIMER_LINK_IDLE, kKeepAliveMs);
    ReportOpened(true);
}

void HartIpLink::Take(const Message& message)
{
    if (m_Session == Session::Initiating && message.id == hartip::kSessionInitiate)
        return TakeInitiateResponse(message);
    if (message.type == hartip::kPublish && message.id == hartip::kPdu)
        return Deliver(ModemReply::Frame(message.body));  // a burst frame, whatever its version
    const bool refusal = message.type == hartip::kError || message.type == hartip::kNak;
    if ((message.id != hartip::kPdu && !refusal) || !m_PduInFlight)
        return;  // keep-alive and close responses carry nothing to act on
    if (message.sequence != *m_PduInFlight)
        return ReportError("HART-IP: a response with sequence number " + std::to_string(message.sequence) +
                           " answers no request in flight");
    m_PduInFlight.reset();
    if (message.type == hartip::kResponse && message.status == 0)
        return Deliver(ModemReply::Frame(message.body));
    ReportError("HART-IP: the request failed: message type " + std::to_string(message.type) + ", status " +
                std::to_string(message.status));
    Deliver(ModemReply{'X', {}, {}});  // a failed try, as a modem's refusal
}
