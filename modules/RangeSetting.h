// "Module 5 - Range Setting": write the range values typed by the operator,
// or make the pressure now applied the 0% or 100% point and read the
// settings back. "Read Range" is the shared read of the common settings.
#pragma once

#include "modules/Module.h"

class RangeSetting : public Module {
public:
    // Script states, with what each sends or judges.
    enum State : std::int16_t {
        kSetRangePrepare = 21,
        kSetRangeSend = 22,   // command 35: units code 12, upper and lower value in kPa
        kSetRangeCheck = 23,  // shows the range the transmitter took
        kApply0Prepare = 101,
        kApply0Send = 102,   // command 37: the applied pressure is the lower range value
        kApply0Check = 103,  // confirmed: the shared read follows
        kApply100Prepare = 104,
        kApply100Send = 105,   // command 36: the applied pressure is the upper range value
        kApply100Check = 106,  // confirmed: the shared read follows
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnSetRange();
    void OnApply0Percent();
    void OnApply100Percent();

private:
    void CheckSetRange();
    void ReadBackAfterApply();
};
