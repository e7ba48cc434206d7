#include "serial/ReceivePath.h"

#include "dialog/Timing.h"
#include "modem/Envelope.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int kRxLast = static_cast<int>(sizeof(ReceivePath::m_RxBuf)) - 1;
}

void ReceivePath::ResetReceive()
{
    m_nRxCount = 0;
    m_nRxError = 0;
    m_bRxReady = 0;
    m_nRxReplyLen = 0;
    m_Wnd.KillTimer(TIMER_RX);
}

void ReceivePath::OnCommEvent()
{
    switch (m_Comm.GetCommEvent()) {
    case CommEvent::kReceive: {
        std::vector<std::uint8_t> input;
        try {
            const std::int16_t waiting = m_Comm.GetInBufferCount();
            m_Comm.SetInputLen(waiting);
            input = m_Comm.GetInput();
        } catch (const SerialPortError&) {
            // Nothing read; the quiet timer still restarts below.
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
        break;
    default:
        break;
    }
}

void ReceivePath::CheckReply()
{
    if (m_nRxError != 0)
        return;  // a line error or an earlier failed check spoils this reply
    const ReplyLineFault fault = CheckReplyLine(m_RxBuf, m_nRxCount);
    if (fault != kReplyLineOk) {
        m_nRxError = fault;
        return;
    }
    if (m_pFilter && !m_pFilter->IsReplyInFlight(m_RxBuf, m_nRxCount)) {
        m_nRxCount = 0;
        return;
    }
    std::copy_n(m_RxBuf, m_nRxCount, m_RxReply);
    m_RxReply[m_nRxCount] = 0;
    m_nRxReplyLen = m_nRxCount;
    m_nRxCount = 0;
    m_bRxReady = 1;
    m_Wnd.SetTimer(TIMER_STEP, STEP_DELAY);
}
