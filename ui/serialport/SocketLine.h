// The HART-IP side of a port: a UDP or TCP socket to a gateway on Qt Network.
// Each arrival raises one receive event: a whole datagram over UDP, whatever
// the stream brought over TCP; a TCP connection the gateway closes is a lost
// device.
#pragma once

#include "serial/LinkSettings.h"

#include <QAbstractSocket>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class SocketLine {
public:
    using Raise = std::function<void(std::int16_t event)>;
    explicit SocketLine(Raise raise) : m_Raise(std::move(raise)) {}
    ~SocketLine();

    // Throws SerialPortError when the host cannot be reached (TCP: no
    // connection within two seconds).
    void Open(const LinkSettings& linkSettings);
    void Close();
    bool IsOpen() const;
    std::int16_t Waiting() const;
    std::vector<std::uint8_t> Read();
    void Write(const std::vector<std::uint8_t>& bytes);

private:
    Raise m_Raise;
    std::unique_ptr<QAbstractSocket> m_Socket;
    bool m_Udp = true;
    bool m_InHandler = false;  // one of the socket's own events is being handled
};
