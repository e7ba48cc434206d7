// The virtual-clock host with COM1 found and opened, as the operator does
// before anything else.
#pragma once

#include "dialog/ControlIds.h"
#include "ui/headless/HeadlessHost.h"

struct OpenPortHost : HeadlessHost {
    OpenPortHost()
    {
        port.SetAvailablePorts({1});
        window.Click(IDC_SEARCH_COM);
        window.Click(IDC_OPEN_COM);
    }
};
