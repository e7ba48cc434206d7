// Collects the modem's reply from the pieces the port delivers. A quiet time
// after the last piece ends the reply; the envelope check then judges it and,
// when it passes, cuts the step machine's reply time-out short.
#pragma once

#include "dialog/DialogWindow.h"
#include "dialog/SerialPort.h"

#include <cstdint>

class ReceivePath {
public:
    ReceivePath(DialogWindow& window, SerialPort& comm) : m_Wnd(window), m_Comm(comm) {}

    // The port's event: received bytes, or a line error.
    void OnCommEvent();
    // Empties the buffer and forgets errors and readiness.
    void ResetReceive();
    // The quiet timer's action: the envelope check of the buffered line.
    void CheckReply();

    std::uint8_t m_RxBuf[1024] = {};
    std::int16_t m_nRxCount = 0;
    // 0 while the reception is clean; counts line errors; holds the failure
    // of the envelope check.
    std::int16_t m_nRxError = 0;
    std::int32_t m_bRxReady = 0;

private:
    DialogWindow& m_Wnd;
    SerialPort& m_Comm;
};
