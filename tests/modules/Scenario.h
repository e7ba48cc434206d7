// A window on the virtual clock wired to the simulated transmitter, with the
// port open: the stage of the module scenarios; and one operation a table row.
#pragma once

#include "dialog/ControlIds.h"
#include "ui/headless/HeadlessHost.h"
#include "ui/headless/SimulatedLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

using Log = std::vector<std::string>;
using F = sim::FaultKind;
// What a failed connect or shared read leaves enabled.
inline const std::vector<int> kWaysToConnect = {IDC_HART_COMM, IDC_SEARCH_ADDR, IDC_OPEN_COM};

struct Scenario : HeadlessHost {
    SimulatedLine line;

    // COM1 found and opened over the link (a HART-IP session answered).
    explicit Scenario(SimLink link = SimLink::HexLine, sim::ModemOptions options = {})
        : line(clock, port, std::move(options), link)
    {
        port.SetAvailablePorts({1});
        window.Click(IDC_SEARCH_COM);
        window.Click(IDC_OPEN_COM);
        clock.AdvanceUntil([this] { return !dlg.IsOperationRunning(); }, clock.Now() + 5000);
    }

    sim::TransmitterState& device() { return line.Device().State(); }
    void Fault(sim::FaultKind kind, int command, int value = -1)
    {
        line.Answers().AddFault(sim::FaultRule{kind, command, value, -1});
    }

    // Clicks as the operator and lets the operation run to its end.
    void Run(int id)
    {
        ASSERT_TRUE(window.Click(id)) << "control " << id << " is not clickable";
        RunUntilRest();
    }
    void RunUntilRest()
    {
        ASSERT_TRUE(clock.AdvanceUntil([this] { return !dlg.IsOperationRunning(); }, clock.Now() + 120000));
    }
    void Connect() { Run(IDC_HART_COMM); }

    // Log entries from index `from` on.
    Log LogFrom(std::size_t from) const
    {
        return {LogHistory().begin() + static_cast<std::ptrdiff_t>(from), LogHistory().end()};
    }
    // Only the operator messages (not request or reply hex) from `from` on.
    static bool IsFrame(const std::string& entry) { return entry.find_first_not_of("0123456789ABCDEF") == entry.npos; }
    Log MessagesFrom(std::size_t from) const
    {
        Log messages;
        for (const std::string& entry : LogFrom(from))
            if (!IsFrame(entry))
                messages.push_back(entry);
        return messages;
    }
    // What the operator sees of a control: its text, the list entry chosen, or a check "0" / "1".
    std::string Shown(int id) const
    {
        const ControlKind kind = window.KindOf(id);
        return kind == ControlKind::ComboBox      ? window.ComboGetText(id, window.ComboGetCurSel(id))
               : kind == ControlKind::RadioButton ? std::to_string(window.GetCheck(id))
                                                  : window.GetText(id);
    }
};

// A frame in hex as the log shows it, with its check byte appended, built by
// hand in the test from the HART layout.
inline std::string HexFrame(std::vector<int> bytes)
{
    bytes.push_back(std::accumulate(bytes.begin(), bytes.end(), 0, std::bit_xor<>()));
    std::string hex;
    for (int b : bytes)
        hex += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    return hex;
}

// Long-frame request to the default transmitter B5 7C 01 02 03.
inline std::string LongRequest(int command, std::vector<int> data = {})
{
    data.insert(data.begin(), {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, command, static_cast<int>(data.size())});
    return HexFrame(data);
}

// Reply frame of the default transmitter to a long frame: the response code
// (0 unless given), the device status, data.
inline std::string LongReply(int command, int deviceStatus, std::vector<int> data, int responseCode = 0)
{
    data.insert(data.begin(), {0x86, 0xB5, 0x7C, 0x01, 0x02, 0x03, command, static_cast<int>(data.size()) + 2,
                               responseCode, deviceStatus});
    return HexFrame(data);
}

// One operation of the operator as a table row: the transmitter, the input,
// the faults on the line, the click; then the log and what the window shows.
using Fields = std::vector<std::pair<int, std::string>>;  // a control and what it shows (see Scenario::Shown)
struct Operation {
    const char* name;
    Fields input;  // typed, chosen or checked, in order
    int button;    // connects first unless it is "HART Communication" or "Search Addr"
    Log log;       // from the click on; only the messages when it holds no frame
    Fields shown = {};
    std::vector<sim::FaultRule> faults = {};                       // added after the connect
    std::function<void(sim::TransmitterState&)> device = nullptr;  // set before the connect
    std::vector<int> enabled = {}, disabled = {};
};

// After every operation each "Set" is disabled until its input changes again
// (a refused input starts nothing and disables nothing), and the newest log
// entry is scrolled into view.
inline void RunOperation(Scenario& s, const Operation& op)
{
    if (op.device)
        op.device(s.device());
    if (op.button != IDC_HART_COMM && op.button != IDC_SEARCH_ADDR)
        s.Connect();
    for (const auto& [id, text] : op.input) {
        int entry = 0;
        while (entry < s.window.ComboGetCount(id) && s.window.ComboGetText(id, entry) != text)
            ++entry;
        if (s.window.KindOf(id) == ControlKind::RadioButton)
            s.window.SetCheck(id, text == "1");
        else
            EXPECT_TRUE(s.window.KindOf(id) == ControlKind::ComboBox ? s.window.Choose(id, entry)
                                                                     : s.window.Type(id, text));
    }
    for (const sim::FaultRule& fault : op.faults)
        s.line.Modem().AddFault(fault);
    const std::size_t mark = s.LogHistory().size(), sends = s.port.WriteTimes().size();
    s.Run(op.button);
    const bool frames = std::any_of(op.log.begin(), op.log.end(), Scenario::IsFrame);
    EXPECT_EQ(frames ? s.LogFrom(mark) : s.MessagesFrom(mark), op.log);
    for (const auto& [id, text] : op.shown)
        EXPECT_EQ(s.Shown(id), text) << id;
    for (int id : op.enabled)
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
    for (int id : op.disabled)
        EXPECT_FALSE(s.window.IsEnabled(id)) << id;
    for (int set : {IDC_SET_TAG, IDC_SET_MESSAGE, IDC_SET_ASSEMBLY, IDC_SET_WP, IDC_SET_ALARM, IDC_SET_DISPLAY,
                    IDC_SET_TRANS_FUNC, IDC_SET_UNIT, IDC_SET_DAMPING})
        EXPECT_EQ(s.window.IsEnabled(set), s.port.WriteTimes().size() == sends && set == op.button) << set;
    if (s.LogHistory().size() < 10) {  // the log not yet trimmed: the entry in view is the last one
        EXPECT_EQ(s.window.ListShown(IDC_LOG), s.window.ListGetCount(IDC_LOG) - 1);
    }
}

class OperationTest : public testing::TestWithParam<Operation> {};
inline std::string OperationName(const testing::TestParamInfo<Operation>& info) { return info.param.name; }
inline void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }
