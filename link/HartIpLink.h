// A HART-IP client (version 1) over UDP or TCP. Opening the port initiates a
// session as primary master; each request frame goes out as a token-passing
// PDU with the next sequence number, and only the response with that number
// answers it. A keep-alive goes out whenever the session has been quiet for
// half its inactivity time. Published frames are handed on as a modem hands
// on burst frames.
#pragma once

#include "dialog/DialogWindow.h"
#include "link/HartIpMessage.h"
#include "link/Link.h"
#include "serial/SerialPort.h"

#include <cstdint>
#include <optional>

class HartIpLink final : public Link {
public:
    static constexpr std::uint32_t kInactivityCloseMs = 60000;
    static constexpr int kKeepAliveMs = kInactivityCloseMs / 2;
    static constexpr int kInitiateTimeoutMs = 2000;

    HartIpLink(DialogWindow& window, SerialPort& comm) : m_Wnd(window), m_Comm(comm) {}

    OpenState Open() override;
    void Close() override;
    void Send(std::span<const std::uint8_t> frame) override;
    void OnCommEvent() override;
    void OnTimer(int timerId) override;

    bool SessionOpen() const { return m_Session == Session::Open; }

private:
    enum class Session : std::uint8_t { Closed, Initiating, Open };

    std::uint16_t Post(std::uint8_t id, std::vector<std::uint8_t> body);
    void Take(const hartip::Message& message);
    void TakeInitiateResponse(const hartip::Message& message);
    void Fail(std::string why);

    DialogWindow& m_Wnd;
    SerialPort& m_Comm;
    bool m_Stream = false;  // TCP: messages in any pieces; UDP: one a datagram
    hartip::Reader m_Reader;
    Session m_Session = Session::Closed;
    std::uint16_t m_Sequence = 0;
    std::uint16_t m_InitiateSequence = 0;
    std::optional<std::uint16_t> m_PduInFlight;  // the request that awaits its response
};
