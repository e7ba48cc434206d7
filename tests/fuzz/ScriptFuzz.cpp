// Fuzz target: the tamsel-cli script reader and runner. Any text as a
// script: checked line by line and, when good, run against the window with
// the simulated transmitter on COM1, on the virtual clock. Every wait and
// sleep the reader lets through must fit the timers of the real clock.
#include "ui/headless/HeadlessHost.h"
#include "ui/headless/SimulatedLine.h"
#include "ui/script/ScriptRunner.h"

#include <climits>
#include <cstdlib>
#include <sstream>

namespace {

constexpr long kLongestStep = 5000;  // virtual ms a wait or sleep runs here at most

struct FuzzClock : ScriptClock {
    explicit FuzzClock(VirtualClock& c) : clock(c) {}
    static long Checked(long ms)
    {
        if (ms < 0 || ms > INT_MAX)
            std::abort();  // no timer waits that long
        return std::min(ms, kLongestStep);
    }
    bool WaitUntil(const std::function<bool()>& done, long ms) override
    {
        return clock.AdvanceUntil(done, clock.Now() + Checked(ms));
    }
    VirtualClock& clock;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    HeadlessHost host;
    SimulatedLine line{host.clock, host.port};
    host.port.SetAvailablePorts({1});
    FuzzClock clock{host.clock};
    std::ostringstream out;
    ScriptRunner runner{host.window, [&] { return host.dlg.IsOperationRunning(); }, clock, out};
    std::istringstream script(std::string(data, data + size));
    const int status = runner.Run(script);
    if (status < 0 || status > 2)
        std::abort();
    return 0;
}
