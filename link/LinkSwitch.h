// The link of the port now open: the hex-line modem, a binary modem or a
// HART-IP gateway, as the port's value says. The others rest.
#pragma once

#include "link/BinaryModemLink.h"
#include "link/HartIpLink.h"
#include "link/HexLineLink.h"

class LinkSwitch final : public Link {
public:
    LinkSwitch(DialogWindow& window, SerialPort& comm);

    // Chooses the link for the port just opened and opens it.
    OpenState Open() override;
    void Close() override { m_Active->Close(); }
    void Send(std::span<const std::uint8_t> frame) override { m_Active->Send(frame); }
    void OnCommEvent() override { m_Active->OnCommEvent(); }
    void OnTimer(int timerId) override { m_Active->OnTimer(timerId); }

    // Where the hex-line modem's reply is being collected.
    const ReceivePath& Receive() const { return m_HexLine.Receive(); }

private:
    SerialPort& m_Comm;
    HexLineLink m_HexLine;
    BinaryModemLink m_Binary;
    HartIpLink m_HartIp;
    Link* m_Active = &m_HexLine;
};
