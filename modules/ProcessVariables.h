// "Module 4 - Process Variables": the live primary variable with its unit,
// the percent of range and the loop current, read over and over (commands 1
// and 2) from "Auto Read" until "Stop Read" or three failures in a row.
#pragma once

#include "modules/Module.h"

#include <cstdint>

class ProcessVariables : public Module {
public:
    enum State : std::int16_t {
        kCycleBegin = 12,    // a fresh count of tries for the cycle
        kPvSend = 13,        // command 1, unless Stop Read was pressed
        kPvCheck = 14,       // shows the primary variable and its unit
        kCurrentSend = 15,   // command 2, unless Stop Read was pressed
        kCurrentCheck = 16,  // shows percent of range and loop current; next cycle
        kLoopEnd = 17,       // every end of the loop passes here
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnAutoRead();
    void OnStopRead();

    // 1 while the loop is to go on; read only between exchanges.
    std::uint8_t m_bAutoRead = 0;

private:
    bool GoingOn();
    void CheckPv();
    void CheckCurrent();
};
