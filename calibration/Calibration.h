// A calibration as it is filed: the device and the setting it was tested in,
// who tested it against which reference, and the as-found and as-left runs,
// point by point. Errors are in percent of span; a point passes when the
// larger of its PV and current errors is within the tolerance.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DeviceSetting {
    std::string manufacturer, deviceType;
    int manufacturerCode = 0, deviceTypeCode = 0;
    long deviceId = 0;
    int pollingAddress = 0;
    std::string tag, descriptor;
    double lowerRange = 0, upperRange = 0;  // in the range unit
    int unitCode = 0;
    std::string unit;
    double damping = 0;  // seconds
    int transferFunctionCode = 0;
    std::string transferFunction;
};

struct ReferenceInstrument {
    std::string model, serial, dueDate;
};

struct CalPoint {
    enum class State : std::uint8_t { Pending, Done, Skipped, Failed };
    double targetPct = 0;
    bool down = false;  // on the way down of an "updown" run
    State state = State::Pending;
    double reference = 0;   // what the pressure reference read, in the range unit
    double pv = 0, ma = 0;  // the averages read
    double pvErrorPct = 0, maErrorPct = 0;
    bool pass = false;
};

struct CalRun {
    std::string kind;  // "as-found" or "as-left"
    std::string started;
    double tolerancePct = 0.25;
    int reads = 3;
    std::vector<CalPoint> points;
    bool ended = false;
    std::string failure;  // why the run stopped early, if it did

    // Passes when every point does; a run with a point not done does not.
    bool Passed() const;
    int DoneCount() const;
};

struct Calibration {
    std::string date;  // YYYY-MM-DD, with the device it names the file
    DeviceSetting device;
    std::string technician;
    ReferenceInstrument reference;
    std::string notes;
    std::optional<CalRun> asFound, asLeft;

    // The run of that kind, nullptr while there is none.
    CalRun* Run(const std::string& kind)
    {
        std::optional<CalRun>& run = kind == "as-left" ? asLeft : asFound;
        return run ? &*run : nullptr;
    }
};

// PV error = (PV - reference) / (URV - LRV) x 100.
double PvErrorPct(double pv, double reference, double lrv, double urv);
// Current error = (mA - (4 + 16 (reference - LRV) / (URV - LRV))) / 16 x 100.
double MaErrorPct(double ma, double reference, double lrv, double urv);
// Fills the point's errors and verdict from its reference and readings.
void Judge(CalPoint& point, const DeviceSetting& device, double tolerancePct);

// The test points of a run: the percentages given, and with updown the same
// back down (the top point once).
std::vector<CalPoint> PlanPoints(const std::vector<double>& percents, bool updown);
