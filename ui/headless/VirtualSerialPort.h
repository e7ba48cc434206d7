// A serial port on the virtual clock. A test (or a simulated modem) decides
// which ports exist, schedules bytes and line errors to arrive at virtual
// times, and sees every write.
#pragma once

#include "dialog/SerialPort.h"
#include "ui/headless/VirtualClock.h"

#include <deque>
#include <functional>
#include <set>

class VirtualSerialPort : public SerialPort {
public:
    explicit VirtualSerialPort(VirtualClock& clock) : m_clock(clock) {}

    // --- The other end of the line
    void SetAvailablePorts(std::set<int> ports) { m_available = std::move(ports); }
    // Bytes arriving after delay ms, as one receive event. Dropped if the
    // port is closed by then.
    void DeliverAfter(std::int64_t delayMs, std::vector<std::uint8_t> bytes);
    void DeliverTextAfter(std::int64_t delayMs, std::string_view text);
    // A line error event (CommEvent code) after delay ms.
    void LineErrorAfter(std::int64_t delayMs, std::int16_t code);
    // Each write as it happens, with the virtual time.
    void SetWriteObserver(std::function<void(const std::vector<std::uint8_t>&)> observer)
    {
        m_writeObserver = std::move(observer);
    }
    void SetFailWrites(bool fail) { m_failWrites = fail; }
    // The device goes away after delayMs: the port closes itself and reports it.
    void LoseDeviceAfter(std::int64_t delayMs);
    const std::vector<std::vector<std::uint8_t>>& Writes() const { return m_writes; }
    const std::vector<std::int64_t>& WriteTimes() const { return m_writeTimes; }
    int OpenPort() const { return m_open ? m_openPort : 0; }

    // --- SerialPort
    void SetCommPort(std::int16_t port) override { m_port = port; }
    void SetPortOpen(bool open) override;
    bool GetPortOpen() const override { return m_open; }
    std::int16_t GetInBufferCount() const override;
    void SetInputLen(std::int16_t n) override { m_inputLen = n; }
    std::vector<std::uint8_t> GetInput() override;
    void SetOutput(const std::vector<std::uint8_t>& bytes) override;
    std::int16_t GetCommEvent() const override { return CurrentCommEvent(); }

private:
    VirtualClock& m_clock;
    std::set<int> m_available;
    int m_port = 1;
    int m_openPort = 0;
    bool m_open = false;
    std::int16_t m_inputLen = 0;
    std::deque<std::uint8_t> m_input;
    bool m_failWrites = false;
    std::vector<std::vector<std::uint8_t>> m_writes;
    std::vector<std::int64_t> m_writeTimes;
    std::function<void(const std::vector<std::uint8_t>&)> m_writeObserver;
};
