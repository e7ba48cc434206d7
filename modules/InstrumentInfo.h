// "Module 3 - Inst. Infor.": who the connected transmitter is and what its
// sensor can measure. Filled by the connect and search scripts.
#pragma once

#include "modules/Module.h"

class InstrumentInfo : public Module {
public:
    enum State : std::int16_t {
        kShowIdentity = 4,       // names and number from command 0's unique identifier
        kSensorLimitsSend = 5,   // command 14: sensor limits and minimum span
        kSensorLimitsCheck = 6,  // shows them; the settings read follows
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override { return {}; }

private:
    void ShowIdentity();
    void CheckSensorLimits();
};
