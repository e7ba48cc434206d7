// The send and parse state of every HART command: the request goes out in the
// modem envelope with the reply time-out armed; the reply comes back decoded
// into the result code and the reply record.
#include "dialog/Timing.h"
#include "hart/RequestFrame.h"
#include "hart/ResultCodes.h"
#include "modem/Envelope.h"
#include "modem/Hex.h"
#include "sequencer/StepMachine.h"

#include <algorithm>

namespace {
char* AsText(std::uint8_t* bytes) { return reinterpret_cast<char*>(bytes); }
}  // namespace

void StepMachine::SendCommand(const CommandInfo& cmd)
{
    m_Rx.ResetReceive();

    RequestParams params;
    std::copy(std::begin(m_nReqCode), std::end(m_nReqCode), params.reqCode);
    std::copy(std::begin(m_fReqValue), std::end(m_fReqValue), params.reqValue);
    params.reqBlock = m_pReqBlock;
    const int frameLen = BuildRequestFrame(cmd, params, m_UniqueId, m_TxFrame);
    m_InFlight = InFlightOf(m_TxFrame);

    const int hexLen = BytesToHex(m_TxFrame, AsText(m_HexText), static_cast<std::int16_t>(frameLen));
    m_strTx.assign(AsText(m_HexText), static_cast<std::size_t>(hexLen));
    const int lineLen = WrapRequestLine(AsText(m_HexText), hexLen, m_TxFrame);
    m_TxBytes.assign(m_TxFrame, m_TxFrame + lineLen);

    try {
        m_Comm.SetOutput(m_TxBytes);
    } catch (const SerialPortError&) {
        // Back to the script at once; the try counts as failed there.
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
// connected transmitter still tells whether it is in burst mode.
bool StepMachine::IsReplyInFlight(const std::uint8_t* line, int n)
{
    if (line[1] != 'P')
        return true;  // the modem's own refusals carry no frame
    std::uint8_t frame[sizeof m_HexText];
    const int payloadLen = std::max(n - kEnvelopeOverhead, 0);
    const int frameLen = std::max<int>(
        HexToBytes(reinterpret_cast<const char*>(line) + 4, frame, static_cast<std::int16_t>(payloadLen)), 0);
    const FrameVerdict verdict = JudgeReplyFrame(frame, frameLen, m_InFlight, m_UniqueId);
    if (!verdict.isReply && verdict.fromTransmitter)
        m_bBurst = verdict.burst ? 1 : 0;
    return verdict.isReply;
}

void StepMachine::ParseReplyHead(const CommandInfo& cmd)
{
    std::uint8_t* rxBuf = m_Rx.m_RxReply;
    if (m_Rx.m_bRxReady != 1) {
        m_nResult = kResultNoReply;
    } else if (rxBuf[1] == 'P') {
        // The payload is checked hex text; the log shows it decoded and
        // encoded again, so always as whole bytes.
        const int payloadLen = std::max(m_Rx.m_nRxReplyLen - kEnvelopeOverhead, 0);
        const std::int16_t frameLen =
            std::max<std::int16_t>(HexToBytes(AsText(rxBuf) + 4, m_HexText, static_cast<std::int16_t>(payloadLen)), 0);
        const std::int16_t hexLen = std::max<std::int16_t>(BytesToHex(m_HexText, AsText(rxBuf), frameLen), 0);
        rxBuf[hexLen] = 0;
        m_strRx.assign(AsText(rxBuf), static_cast<std::size_t>(hexLen));
        m_Shell.AppendLog(m_strRx);

        const ReplyDecode decoded = DecodeReplyFrame(cmd, m_HexText, frameLen, *this, m_UniqueId);
        if (decoded.burstKnown)
            m_bBurst = decoded.burst ? 1 : 0;
        m_nResult = decoded.result;
        if (m_nResult == kResultOk)
            m_Observers.ReportProcessValues(cmd.command, *this);
    } else if (rxBuf[1] == 'X') {
        m_nResult = kResultModemError;
    } else {
        m_nResult = kResultBadLetter;
    }

    m_Shell.TrimLog();
    m_nStep = m_nReturnStep;
    Arm(STEP_DELAY);
}
