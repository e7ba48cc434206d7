// Collects the modem's reply from the pieces the port delivers. A quiet time
// after the last piece ends the reply; the envelope check then judges it and,
// when it passes, cuts the step machine's reply time-out short.
#pragma once

#include "dialog/DialogWindow.h"
#include "serial/SerialPort.h"

#include <cstdint>

// Decides whether a well-formed modem line carries the reply that the
// request in flight waits for. The step machine provides it.
class ReplyFilter {
public:
    virtual bool IsReplyInFlight(const std::uint8_t* line, int n) = 0;

protected:
    ~ReplyFilter() = default;
};

class ReceivePath {
public:
    ReceivePath(DialogWindow& window, SerialPort& comm) : m_Wnd(window), m_Comm(comm) {}

    // The port's event: received bytes, or a line error.
    void OnCommEvent();
    // Empties the buffer, forgets errors and readiness, and stops the quiet
    // timer: bytes received before have nothing left to be judged for.
    void ResetReceive();
    // The quiet timer's action: the envelope check of the buffered line. A
    // well-formed line that the filter does not take is dropped, and the
    // reply is waited for on.
    void CheckReply();
    void SetReplyFilter(ReplyFilter* filter) { m_pFilter = filter; }

    std::uint8_t m_RxBuf[1024] = {};
    std::int16_t m_nRxCount = 0;
    // 0 while the reception is clean; counts line errors; holds the failure
    // of the envelope check.
    std::int16_t m_nRxError = 0;
    std::int32_t m_bRxReady = 0;
    // The line the envelope check accepted, NUL-terminated: what the parse
    // reads. Bytes received after it start the next line in m_RxBuf.
    std::uint8_t m_RxReply[1024] = {};
    std::int16_t m_nRxReplyLen = 0;

private:
    DialogWindow& m_Wnd;
    SerialPort& m_Comm;
    ReplyFilter* m_pFilter = nullptr;
};
