// "Module 6 - Sensor Trim": read the sensor trim points with their unit, trim
// the lower or upper point at the pressure now applied, and zero the primary
// variable. The trim points can be typed and applied only while "Trim Unit"
// names the unit they are in.
#pragma once

#include "modules/Module.h"

class SensorTrim : public Module {
public:
    // Script states, with what each sends or judges.
    enum State : std::int16_t {
        kReadTrimPrepare = 24,
        kReadTrimSend = 25,   // command 128: the trim points and their unit
        kReadTrimCheck = 26,  // shows them
        kShiftZeroPrepare = 36,
        kShiftZeroSend = 37,   // command 43: the applied pressure reads zero
        kShiftZeroCheck = 38,  // judges the response code
        kApplyLowerPrepare = 39,
        kApplyLowerSend = 40,   // command 131: units code of "Trim Unit", the typed lower point
        kApplyLowerCheck = 41,  // shows the lower point the transmitter took
        kApplyUpperPrepare = 42,
        kApplyUpperSend = 43,   // command 130: units code of "Trim Unit", the typed upper point
        kApplyUpperCheck = 44,  // shows the upper point the transmitter took
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnReadTrim();
    void OnShiftZero();
    void OnApplyLower();
    void OnApplyUpper();

private:
    void ApplyTrimPoint(int field, std::int16_t firstState);
    void CheckReadTrim();
    void CheckShiftZero();
    void CheckTrimPoint(int field);
    void DropTrimDisplay(std::string_view message);
};
