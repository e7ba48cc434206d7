#include "serial/ReceivePath.h"

#include "dialog/Timing.h"
#include "modem/Envelope.h"
#include "modem/Hex.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int kRxLast = 1023;
}

void ReceivePath::ResetReceive()
{
    m_nRxCount = 0;
    m_nRxError = 0;
    m_Wnd.KillTimer(TIMER_RX);
}

void ReceivePath::OnCommEvent()
{
    const std::int16_t event = m_Comm.GetCommEvent();
    switch (event) {
    case CommEvent::kReceive: {
        std::vector<std::uint8_t> input;
        try {
            const std::int16_t waiting = m_Comm.GetInBufferCount();
            m_Comm.SetInputLen(waiting);
            input = m_Comm.GetInput();
        } catch (const SerialPortError& e) {
            // Nothing read; the quiet timer still restarts below.
            Report(std::string("receive: ") + e.what());
        }
        for (std::uint8_t byte : input) {
            m_RxBuf[m_nRxCount] = byte;
            if (++m_nRxCount == kRxLast + 1)
                m_nRxCount = kRxLast;  // further bytes overwrite the last place
        }
        m_Wnd.SetTimer(TIMER_RX, RX_QUIET_TIME);
        break;
    }
    case CommEvent::kFrameError:
    case CommEvent::kOverrun:
    case CommEvent::kRxOverflow:
    case CommEvent::kParityError:
        // Saturates, so that no number of errors can count back to "clean".
        if (m_nRxError < std::numeric_limits<std::int16_t>::max())
            ++m_nRxError;
        Report(std::string("receive: ") + CommEvent::Text(event));
        break;
    default:
        break;
    }
}

ModemReply ModemReply::Frame(std::vector<std::uint8_t> frame)
{
    ModemReply reply{'P', std::move(frame), {}};
    reply.hex.resize(reply.frame.size() * 2 + 1);
    BytesToHex(reply.frame.data(), reply.hex.data(), static_cast<std::int16_t>(reply.frame.size()));
    reply.hex.pop_back();
    return reply;
}

std::optional<ModemReply> ReceivePath::CheckReply()
{
    if (m_nRxError != 0)
        return std::nullopt;  // a line error or an earlier failed check spoils this reply
    const ReplyLineFault fault = CheckReplyLine(m_RxBuf, m_nRxCount);
    if (fault != kReplyLineOk) {
        m_nRxError = fault;
        Report(std::string("receive: ") + ReplyLineFaultText(fault));
        return std::nullopt;
    }
    ModemReply reply{static_cast<char>(m_RxBuf[1]), {}, {}};
    if (reply.letter == 'P') {
        // The payload is checked hex text; the log shows it decoded and
        // encoded again, so always as whole bytes.
        const auto payload = static_cast<std::int16_t>(m_nRxCount - kEnvelopeOverhead);
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(std::max(payload / 2, 0)));
        HexToBytes(reinterpret_cast<const char*>(m_RxBuf) + 4, frame.data(), payload);
        reply = ModemReply::Frame(std::move(frame));
    }
    m_nRxCount = 0;
    return reply;
}
