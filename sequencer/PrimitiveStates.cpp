// The send and parse state of every HART command: the request goes out in the
// modem envelope with the reply time-out armed; the reply comes back decoded
// into the result code and the reply record.
#include "dialog/Timing.h"
#include "hart/RequestFrame.h"
#include "hart/ResultCodes.h"
#include "modem/Hex.h"
#include "sequencer/StepMachine.h"

#include <algorithm>

namespace {
char* AsText(std::uint8_t* bytes) { return reinterpret_cast<char*>(bytes); }
}  // namespace

void StepMachine::SendCommand(const CommandInfo& cmd)
{
    m_Reply.reset();

    RequestParams params;
    std::copy(std::begin(m_nReqCode), std::end(m_nReqCode), params.reqCode);
    std::copy(std::begin(m_fReqValue), std::end(m_fReqValue), params.reqValue);
    params.reqBlock = m_pReqBlock;
    const int frameLen = BuildRequestFrame(cmd, params, m_UniqueId, m_TxFrame);
    m_InFlight = InFlightOf(m_TxFrame);

    const int hexLen = BytesToHex(m_TxFrame, AsText(m_HexText), static_cast<std::int16_t>(frameLen));
    m_strTx.assign(AsText(m_HexText), static_cast<std::size_t>(hexLen));

    try {
        m_Link.Send({m_TxFrame, static_cast<std::size_t>(frameLen)});
    } catch (const SerialPortError& e) {
        // Back to the script at once; the try counts as failed there.
        ReportError(std::string("send: ") + e.what());
        m_nResult = kResultSendFailed;
        m_nStep = m_nReturnStep;
        Arm(STEP_DELAY);
        return;
    }

    m_Shell.AppendLog(m_strTx);
    m_Shell.TrimLog();
    ++m_nStep;
    Arm(REPLY_TIMEOUT);
}

// Lines that are not the reply are dropped unlogged: a bursting transmitter
// would flush the log every few hundred milliseconds. A frame of the
// connected transmitter still tells whether it is in burst mode. The modem's
// own refusals carry no frame: they answer whatever was sent.
void StepMachine::OfferReply(const ModemReply& reply)
{
    if (reply.letter == 'P') {
        const FrameVerdict verdict =
            JudgeReplyFrame(reply.frame.data(), static_cast<int>(reply.frame.size()), m_InFlight, m_UniqueId);
        if (!verdict.isReply) {
            if (verdict.fromTransmitter)
                m_bBurst = verdict.burst ? 1 : 0;
            return;
        }
    }
    m_Reply = reply;
    Arm(STEP_DELAY);
}

void StepMachine::ParseReplyHead(const CommandInfo& cmd)
{
    if (!m_Reply) {
        m_nResult = kResultNoReply;
    } else if (m_Reply->letter == 'P') {
        m_strRx = m_Reply->hex;
        m_Shell.AppendLog(m_strRx);
        const auto frameLen = static_cast<int>(std::min(m_Reply->frame.size(), sizeof m_ReplyFrame));
        std::copy_n(m_Reply->frame.begin(), frameLen, m_ReplyFrame);
        const ReplyDecode decoded = DecodeReplyFrame(cmd, m_ReplyFrame, frameLen, *this, m_UniqueId);
        if (decoded.burstKnown)
            m_bBurst = decoded.burst ? 1 : 0;
        m_nResult = decoded.result;
        if (m_nResult == kResultOk) {
            m_Observers.ReplyRead(cmd.command, *this);
            ReportProcessValues(m_Observers, cmd.command, *this);
        }
    } else if (m_Reply->letter == 'X') {
        m_nResult = kResultModemError;
    } else {
        m_nResult = kResultBadLetter;
    }

    m_Shell.TrimLog();
    m_nStep = m_nReturnStep;
    Arm(STEP_DELAY);
}
