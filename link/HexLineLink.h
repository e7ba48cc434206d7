// The hex-line modem: each request frame as upper-case hex in the modem's
// ASCII envelope; each reply line collected by the receive path behind its
// quiet time.
#pragma once

#include "link/Link.h"
#include "serial/ReceivePath.h"
#include "serial/SerialPort.h"

#include <vector>

class HexLineLink final : public Link {
public:
    HexLineLink(DialogWindow& window, SerialPort& comm);

    OpenState Open() override;
    void Send(std::span<const std::uint8_t> frame) override;
    void OnCommEvent() override { m_Rx.OnCommEvent(); }
    void OnTimer(int timerId) override;

    const ReceivePath& Receive() const { return m_Rx; }

private:
    SerialPort& m_Comm;
    ReceivePath m_Rx;
    // The request line as written, kept until the next.
    std::vector<std::uint8_t> m_TxBytes;
};
