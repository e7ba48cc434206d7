#include "modules/ModuleSteps.h"

#include <vector>

namespace {
std::vector<StepEntry> JoinModuleSteps()
{
    std::vector<StepEntry> all;
    for (auto module : {OnlineSteps(), InstrumentInfoSteps(), CommonSettingsSteps()})
        all.insert(all.end(), module.begin(), module.end());
    return all;
}
}  // namespace

std::span<const StepEntry> ScriptSteps()
{
    static const std::vector<StepEntry> all = JoinModuleSteps();
    return all;
}

const StepEntry* FindScriptStep(std::int16_t state)
{
    for (const StepEntry& step : ScriptSteps())
        if (step.state == state)
            return &step;
    return nullptr;
}
