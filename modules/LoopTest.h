// "Module 7 - Loop Test/Trim": fix the loop current at a typed value and
// release it, and trim the output at 4 mA and 20 mA with the current
// measured on the loop. Each button is one operation of its own.
#pragma once

#include "modules/Module.h"

#include <optional>

struct CurrentBounds;

class LoopTest : public Module {
public:
    // Script states, with what each sends or judges.
    enum State : std::int16_t {
        kFixedPrepare = 27,
        kFixedSend = 28,   // command 40: the current to fix, 0 to release
        kFixedCheck = 29,  // shows the current the transmitter fixed
        kTrim4mAPrepare = 30,
        kTrim4mASend = 31,   // command 45: the current measured at 4 mA
        kTrim4mACheck = 32,  // shows the current the transmitter took
        kTrim20mAPrepare = 33,
        kTrim20mASend = 34,   // command 46: the current measured at 20 mA
        kTrim20mACheck = 35,  // shows the current the transmitter took
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnFixedCurrent();
    void OnExitFixed();
    void OnTrim4mA();
    void OnTrim20mA();

    // The current the transmitter reported when this tool fixed it, until an
    // exit of fixed-current mode succeeds: the control system reads it as
    // the process value meanwhile.
    std::optional<float> FixedCurrent() const { return m_FixedAt; }

private:
    std::optional<float> m_FixedAt;

    void StartWithCurrent(int field, const CurrentBounds& bounds, std::int16_t firstState);
    void CheckFixedCurrent();
    void CheckOutputTrim(const char* format);
};
