// The link to the transmitter below the step machine: it turns a request
// frame (delimiter to check byte) into what goes on the wire, and hands back
// each frame received, whatever carries it: the hex-line modem, a binary
// modem, or a HART-IP gateway.
#pragma once

#include "serial/ReceivePath.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class Link {
public:
    // A received frame as the step machine takes it: letter 'P' with the
    // frame; any other letter is a refusal that answers the request in
    // flight.
    using ReplySink = std::function<void(const ModemReply&)>;
    // Whether the port became usable (after Open answered Pending).
    using OpenSink = std::function<void(bool usable)>;
    using ErrorSink = std::function<void(std::string_view)>;

    enum class OpenState : std::uint8_t { Ready, Pending };

    virtual ~Link() = default;

    // The port has just opened. Pending: the link reports through the open
    // sink once it knows whether the port is usable.
    virtual OpenState Open() = 0;
    // Before the port closes.
    virtual void Close() {}
    // Puts a request frame on the wire; throws SerialPortError when the port
    // refuses it. Whatever arrived before is forgotten.
    virtual void Send(std::span<const std::uint8_t> frame) = 0;
    // The port's event: received bytes or a line error.
    virtual void OnCommEvent() = 0;
    // One of the link's own timers expired.
    virtual void OnTimer(int timerId) = 0;

    void SetSinks(ReplySink reply, OpenSink opened, ErrorSink error)
    {
        m_Reply = std::move(reply);
        m_Opened = std::move(opened);
        m_Error = std::move(error);
    }

protected:
    void Deliver(const ModemReply& reply) const
    {
        if (m_Reply)
            m_Reply(reply);
    }
    void ReportOpened(bool usable) const
    {
        if (m_Opened)
            m_Opened(usable);
    }
    void ReportError(std::string_view text) const
    {
        if (m_Error)
            m_Error(text);
    }
    // All the port holds now; a port that cannot be read gives nothing and
    // is reported.
    std::vector<std::uint8_t> ReadAll(SerialPort& comm) const
    {
        try {
            comm.SetInputLen(0);
            return comm.GetInput();
        } catch (const SerialPortError& e) {
            ReportError(std::string("receive: ") + e.what());
            return {};
        }
    }

private:
    ReplySink m_Reply;
    OpenSink m_Opened;
    ErrorSink m_Error;
};
