#include "ui/configuration/ConfigurationJobs.h"

std::string ConfigurationJobs::Start(const std::function<std::string()>& start, std::function<void()> done) const
{
    // The window's own operations and a HART-IP session still opening count.
    if (operationRunning())
        return "an operation is running";
    route(std::move(done));
    std::string refused = start();
    if (!refused.empty())
        route({});
    return refused;
}
