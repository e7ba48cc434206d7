// Collects the modem's reply from the pieces the port delivers. A quiet time
// after the last piece ends the reply; the envelope check then judges it, and
// a line that passes is handed on once, as one value.
#pragma once

#include "dialog/DialogWindow.h"
#include "serial/SerialPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A reply as the step machine takes it, from whichever link carried it.
struct ModemReply {
    char letter = 0;                  // 'P' carries a frame; the others are the modem's own
    std::vector<std::uint8_t> frame;  // 'P': the HART frame, delimiter to check byte
    std::string hex;                  // the frame as whole bytes of hex: what the log shows

    // A frame received.
    static ModemReply Frame(std::vector<std::uint8_t> frame);
};

class ReceivePath {
public:
    // onError hears of what spoils a reply (line errors, a refused line, a
    // port that cannot be read), for the record.
    ReceivePath(DialogWindow& window, SerialPort& comm, std::function<void(std::string_view)> onError = {})
        : m_Wnd(window), m_Comm(comm), m_OnError(std::move(onError))
    {
    }

    // The port's event: received bytes, or a line error.
    void OnCommEvent();
    // Empties the buffer, forgets errors and stops the quiet timer: bytes
    // received before have nothing left to be judged for.
    void ResetReceive();
    // The quiet timer's action: the envelope check of the buffered line. A
    // line that passes is handed out and the buffer starts afresh; one that
    // fails stays, and spoils what follows it until the next reset.
    std::optional<ModemReply> CheckReply();

    // Bytes waiting for the check, and what spoils them (0: nothing; a line
    // error count, or the envelope check's fault).
    int Buffered() const { return m_nRxCount; }
    std::string_view BufferedBytes() const { return {reinterpret_cast<const char*>(m_RxBuf), std::size_t(m_nRxCount)}; }
    std::int16_t Fault() const { return m_nRxError; }

private:
    void Report(std::string_view text) const
    {
        if (m_OnError)
            m_OnError(text);
    }

    DialogWindow& m_Wnd;
    SerialPort& m_Comm;
    std::function<void(std::string_view)> m_OnError;
    std::uint8_t m_RxBuf[1024] = {};
    std::int16_t m_nRxCount = 0;
    std::int16_t m_nRxError = 0;
};
