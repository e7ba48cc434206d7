// A window on the virtual clock wired to the simulated transmitter, with the
// port open: the stage of the module scenarios.
#pragma once

#include "dialog/ControlIds.h"
#include "tests/support/OpenPortHost.h"
#include "ui/headless/SimulatedLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

struct Scenario : OpenPortHost {
    SimulatedLine line{clock, port};

    sim::TransmitterState& device() { return line.modem().transmitter().state(); }
    void Fault(sim::FaultKind kind, int command, int value = -1)
    {
        line.modem().AddFault(sim::FaultRule{kind, command, value, -1});
    }

    // Clicks as the operator and lets the operation run to its end.
    void Run(int id)
    {
        ASSERT_TRUE(window.Click(id)) << "control " << id << " is not clickable";
        ASSERT_TRUE(clock.AdvanceUntil([this] { return !dlg.IsOperationRunning(); }, clock.Now() + 120000));
    }
    void Connect() { Run(IDC_HART_COMM); }

    // Log entries from index `from` on.
    std::vector<std::string> LogFrom(std::size_t from) const
    {
        return {LogHistory().begin() + static_cast<std::ptrdiff_t>(from), LogHistory().end()};
    }
    // Only the operator messages (not request or reply hex) from `from` on.
    std::vector<std::string> MessagesFrom(std::size_t from) const
    {
        std::vector<std::string> messages;
        for (const std::string& entry : LogFrom(from))
            if (entry.find_first_not_of("0123456789ABCDEF") != std::string::npos)
                messages.push_back(entry);
        return messages;
    }
    std::string Selected(int id) const { return window.ComboGetText(id, window.ComboGetCurSel(id)); }
};

// A frame in hex as the log shows it, with its check byte appended, built by
// hand in the test from the HART layout.
inline std::string HexFrame(const std::vector<int>& bytes)
{
    std::string hex;
    int check = 0;
    char two[3];
    for (int b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
        check ^= b;
    }
    std::snprintf(two, sizeof two, "%02X", check);
    return hex + two;
}

// Long-frame request to the default transmitter B5 7C 01 02 03.
inline std::string LongRequest(int command, std::vector<int> data = {})
{
    std::vector<int> bytes = {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, command, static_cast<int>(data.size())};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return HexFrame(bytes);
}

// Reply frame of the default transmitter to a long frame: response code 0,
// the given device status, data.
inline std::string LongReply(int command, int deviceStatus, std::vector<int> data)
{
    std::vector<int> bytes = {0x86, 0xB5,        0x7C, 0x01, 0x02, 0x03, command, static_cast<int>(data.size()) + 2,
                              0,    deviceStatus};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return HexFrame(bytes);
}
