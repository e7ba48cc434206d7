// One link on the virtual clock, alone: a window for its timers, a virtual
// port, and what the link hands on (frames, the open verdict, errors).
#pragma once

#include "dialog/Layout.h"
#include "dialog/Timing.h"
#include "link/Link.h"
#include "ui/headless/HeadlessWindow.h"
#include "ui/headless/VirtualSerialPort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

template <class L>
struct LinkBench : DialogEvents {
    VirtualClock clock;
    VirtualTimers timers{clock};
    HeadlessWindow window{MainDialogLayout(), timers};
    VirtualSerialPort port{clock};
    L link{window, port};
    std::vector<ModemReply> replies;
    std::vector<std::string> errors;
    std::vector<bool> opened;

    explicit LinkBench(LinkSettings linkSettings, bool modemLines = false, double charMs = 0)
    {
        window.SetEventSink(this);
        port.SetSettings(std::move(linkSettings));
        port.SetLine(modemLines, charMs);
        port.SetAvailablePorts({1});
        port.SetOnComm([this] { link.OnCommEvent(); });
        link.SetSinks([this](const ModemReply& r) { replies.push_back(r); }, [this](bool ok) { opened.push_back(ok); },
                      [this](std::string_view e) { errors.emplace_back(e); });
        port.SetPortOpen(true);
    }
    void OnCommand(int, Notify) override {}
    void OnSysCommand(unsigned) override {}
    void OnTimer(int timerId) override
    {
        window.KillTimer(timerId);
        link.OnTimer(timerId);
    }
    // The frames handed on, as hex.
    std::vector<std::string> Frames() const
    {
        std::vector<std::string> hex;
        for (const ModemReply& r : replies)
            hex.push_back(r.letter == 'P' ? r.hex : std::string(1, r.letter));
        return hex;
    }
};

// The frame a test writes as hex, as bytes.
inline Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}
