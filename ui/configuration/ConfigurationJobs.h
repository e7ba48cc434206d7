// What the configuration dialogs need of the window they serve. The
// procedure has one onDone, which the host sets: a dialog hands the end of
// its job to route before it starts one, and the host's onDone calls it.
#pragma once

#include "configuration/ConfigurationProcedure.h"

#include <functional>
#include <string>

struct ConfigurationJobs {
    ConfigurationProcedure& procedure;
    std::function<bool()> operationRunning;
    std::function<std::string()> now;  // "YYYY-MM-DD HH:MM:SS"
    std::function<void(std::function<void()>)> route;

    // start returns "" when the job started, else why not; done runs at its
    // end, also when that comes before start returns.
    std::string Start(const std::function<std::string()>& start, std::function<void()> done) const;
};
