// The serial port as the core sees it: the handful of properties of a
// communications control, one event, and failures as SerialPortError.
// Implementations deliver the event on the user-interface thread only.
#pragma once

#include "serial/LinkSettings.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class SerialPortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Codes of GetCommEvent that the receive path acts on; others are ignored.
namespace CommEvent {
inline constexpr std::int16_t kReceive = 2;
inline constexpr std::int16_t kFrameError = 1004;
inline constexpr std::int16_t kOverrun = 1006;
inline constexpr std::int16_t kRxOverflow = 1008;
inline constexpr std::int16_t kParityError = 1009;
// The device went away (unplugged, or its other end closed); the port has
// closed itself.
inline constexpr std::int16_t kDeviceLost = 1100;

// What a line event means, for the record.
constexpr const char* Text(std::int16_t code)
{
    switch (code) {
    case kFrameError:
        return "framing error";
    case kOverrun:
        return "overrun";
    case kRxOverflow:
        return "receive buffer overflow";
    case kParityError:
        return "parity error";
    case kDeviceLost:
        return "the device went away";
    default:
        return "line event";
    }
}
}  // namespace CommEvent

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 16;

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Chooses the port (1 to 16) of the next open.
    virtual void SetCommPort(std::int16_t port) = 0;
    // true opens the chosen port at 9600 baud, 8 data bits, binary; throws
    // SerialPortError when it cannot (absent, busy). false closes it.
    virtual void SetPortOpen(bool open) = 0;
    virtual bool GetPortOpen() const = 0;
    // Received bytes waiting.
    virtual std::int16_t GetInBufferCount() const = 0;
    // The next GetInput takes at most n bytes (0: all waiting).
    virtual void SetInputLen(std::int16_t n) = 0;
    // The waiting bytes, removed from the port.
    virtual std::vector<std::uint8_t> GetInput() = 0;
    // Writes all bytes; throws SerialPortError when it cannot (port closed).
    virtual void SetOutput(const std::vector<std::uint8_t>& bytes) = 0;
    // Code of the event being reported.
    virtual std::int16_t GetCommEvent() const = 0;

    // What stands behind the chosen port: the kind of link and its options.
    virtual LinkSettings Settings() const { return {}; }
    // The RTS line, which keys a binary modem's transmitter. Throws
    // SerialPortError where the device has no modem lines (a pseudo-terminal).
    virtual void SetRts(bool /*level*/) { throw SerialPortError("the device has no modem lines"); }
    // Bytes written that have not yet left the device's transmitter queue.
    virtual int OutputPending() const { return 0; }

    // The port's event: one call per communication event.
    void SetOnComm(std::function<void()> handler) { m_OnComm = std::move(handler); }

protected:
    // For implementations: report one event with its code.
    void RaiseCommEvent(std::int16_t code)
    {
        m_CommEvent = code;
        if (m_OnComm)
            m_OnComm();
    }
    std::int16_t CurrentCommEvent() const { return m_CommEvent; }

private:
    std::function<void()> m_OnComm;
    std::int16_t m_CommEvent = 0;
};
