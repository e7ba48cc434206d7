// The dialog on the virtual clock, without a platform: the host of the
// scenario tests. Time moves only when the test advances it.
#pragma once

#include "app/CTamselDlg.h"
#include "ui/headless/HeadlessWindow.h"
#include "ui/headless/VirtualClock.h"
#include "ui/headless/VirtualSerialPort.h"

#include <string>
#include <vector>

class HeadlessHost {
public:
    HeadlessHost();

    // Every log entry appended since start, in order (the list box itself
    // keeps only the last few).
    const std::vector<std::string>& LogHistory() const { return m_LogHistory; }

    VirtualClock clock;
    VirtualTimers timers{clock};
    HeadlessWindow window;
    VirtualSerialPort port{clock};
    CTamselDlg dlg;

private:
    std::vector<std::string> m_LogHistory;
};
