// The serial port on Qt SerialPort. Lives on the thread of the event loop
// (a QCoreApplication must exist): it is opened there and its events are
// raised there, from the loop, one receive event per arrival of bytes.
#pragma once

#include "serial/SerialPort.h"
#include "ui/serialport/LineErrorCounters.h"
#include "ui/serialport/PortMap.h"
#include "ui/serialport/SocketLine.h"

#include <QSerialPort>

#include <memory>
#include <optional>

class QtSerialPort final : public SerialPort {
public:
    explicit QtSerialPort(PortMap ports);
    ~QtSerialPort() override;

    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void SetCommPort(std::int16_t port) override;
    // Opens at 9600 baud, 8 data bits, no parity, one stop bit (a binary
    // modem: 1200 baud, odd parity), no flow control; a HART-IP port opens
    // its socket. Throws SerialPortError when the port has no device, the device
    // cannot be opened (absent, busy, no permission) or this port is already open.
    void SetPortOpen(bool open) override;
    bool GetPortOpen() const override;
    // Bytes waiting, at most 32767.
    std::int16_t GetInBufferCount() const override;
    // Caps every later GetInput until set again; 0 or less takes all.
    void SetInputLen(std::int16_t n) override;
    std::vector<std::uint8_t> GetInput() override;
    // Throws SerialPortError when the port is closed or the write fails.
    void SetOutput(const std::vector<std::uint8_t>& bytes) override;
    std::int16_t GetCommEvent() const override;
    LinkSettings Settings() const override;
    void SetRts(bool level) override;
    int OutputPending() const override;

    std::int16_t GetCommPort() const { return m_CommPort; }
    const PortMap& Ports() const { return m_Ports; }
    // Takes effect from the next open.
    void SetPorts(PortMap ports) { m_Ports = std::move(ports); }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void RaiseLineErrors();
    std::string PortLabel() const;

    PortMap m_Ports;
    std::int16_t m_CommPort = kFirstPort;
    std::int16_t m_InputLen = 0;
    std::unique_ptr<QSerialPort> m_Port;
    // Counts closes, so that a close queued for a lost device spares a later open.
    unsigned m_Session = 0;
    // Driver counters at open or at the last read; none where the device keeps none.
    std::optional<LineErrorCounts> m_ErrorCounts;
    // A HART-IP port's socket, while one is open.
    SocketLine m_Socket{[this](std::int16_t event) { RaiseCommEvent(event); }};
};
