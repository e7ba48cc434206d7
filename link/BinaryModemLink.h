// A binary HART modem on a serial port (1200 baud, 8 data bits, odd parity,
// one stop bit): the request goes out as preambles and the frame, with the
// modem's transmitter keyed by RTS from before the first preamble until the
// last bit has left; frames come back through the hunter, each handed on as
// soon as its check byte is in.
#pragma once

#include "dialog/DialogWindow.h"
#include "link/FrameHunter.h"
#include "link/Link.h"
#include "serial/SerialPort.h"

#include <vector>

class BinaryModemLink final : public Link {
public:
    // 11 bits a character at 1200 baud.
    static constexpr double kCharMs = 11000.0 / 1200.0;
    // Without a byte for this long, a frame under way is dropped.
    static constexpr int kStallMs = 100;
    // Characters still in the UART's shift register and FIFO after the
    // driver's queue is empty.
    static constexpr int kShiftRegisterChars = 2;

    BinaryModemLink(DialogWindow& window, SerialPort& comm) : m_Wnd(window), m_Comm(comm) {}

    OpenState Open() override;
    void Send(std::span<const std::uint8_t> frame) override;
    void OnCommEvent() override;
    void OnTimer(int timerId) override;

private:
    void Key(bool on);
    void ArmDrainCheck();

    DialogWindow& m_Wnd;
    SerialPort& m_Comm;
    LinkSettings m_Settings;
    FrameHunter m_Hunter;
    std::vector<std::uint8_t> m_Request;  // the frame last sent, to know its echo
    bool m_Keyed = false;
    bool m_Draining = false;
    bool m_NoModemLines = false;
};
