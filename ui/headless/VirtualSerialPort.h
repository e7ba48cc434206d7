// A serial port on the virtual clock. A test (or a simulated modem) decides
// which ports exist, schedules bytes and line errors to arrive at virtual
// times, and sees every write.
#pragma once

#include "serial/SerialPort.h"
#include "ui/headless/VirtualClock.h"

#include <deque>
#include <functional>
#include <set>

class VirtualSerialPort : public SerialPort {
public:
    explicit VirtualSerialPort(VirtualClock& clock) : m_Clock(clock) {}

    // --- The other end of the line
    void SetAvailablePorts(std::set<int> ports) { m_Available = std::move(ports); }
    // Bytes arriving after delay ms, as one receive event. Dropped if the
    // port is closed by then.
    void DeliverAfter(std::int64_t delayMs, std::vector<std::uint8_t> bytes);
    void DeliverTextAfter(std::int64_t delayMs, std::string_view text);
    // A line error event (CommEvent code) after delay ms.
    void LineErrorAfter(std::int64_t delayMs, std::int16_t code);
    // Each write as it happens, with the virtual time.
    void SetWriteObserver(std::function<void(const std::vector<std::uint8_t>&)> observer)
    {
        m_WriteObserver = std::move(observer);
    }
    void SetFailWrites(bool fail) { m_FailWrites = fail; }
    // The device goes away after delayMs: the port closes itself and reports it.
    void LoseDeviceAfter(std::int64_t delayMs);
    // What stands behind every port (the hex-line modem unless set).
    void SetSettings(LinkSettings linkSettings) { m_Settings = std::move(linkSettings); }
    // A line with modem lines, whose transmitter sends one character every
    // charMs (0: at once); each byte is kept with the time it left.
    void SetLine(bool modemLines, double charMs)
    {
        m_ModemLines = modemLines;
        m_CharMs = charMs;
    }
    struct Timed {
        double at;
        int value;  // a byte, or the RTS level
        bool operator==(const Timed&) const = default;
    };
    const std::vector<Timed>& BytesSent() const { return m_BytesSent; }
    const std::vector<Timed>& RtsEdges() const { return m_RtsEdges; }
    const std::vector<std::vector<std::uint8_t>>& Writes() const { return m_Writes; }
    const std::vector<std::int64_t>& WriteTimes() const { return m_WriteTimes; }
    int OpenPort() const { return m_Open ? m_OpenPort : 0; }

    // --- SerialPort
    void SetCommPort(std::int16_t port) override { m_Port = port; }
    void SetPortOpen(bool open) override;
    bool GetPortOpen() const override { return m_Open; }
    std::int16_t GetInBufferCount() const override;
    void SetInputLen(std::int16_t n) override { m_InputLen = n; }
    std::vector<std::uint8_t> GetInput() override;
    void SetOutput(const std::vector<std::uint8_t>& bytes) override;
    std::int16_t GetCommEvent() const override { return CurrentCommEvent(); }
    LinkSettings Settings() const override { return m_Settings; }
    void SetRts(bool level) override;
    int OutputPending() const override;

private:
    VirtualClock& m_Clock;
    std::set<int> m_Available;
    int m_Port = 1;
    int m_OpenPort = 0;
    bool m_Open = false;
    std::int16_t m_InputLen = 0;
    std::deque<std::uint8_t> m_Input;
    bool m_FailWrites = false;
    std::vector<std::vector<std::uint8_t>> m_Writes;
    std::vector<std::int64_t> m_WriteTimes;
    std::function<void(const std::vector<std::uint8_t>&)> m_WriteObserver;
    LinkSettings m_Settings;
    bool m_ModemLines = false;
    double m_CharMs = 0;
    std::vector<Timed> m_BytesSent;
    std::vector<Timed> m_RtsEdges;
};
