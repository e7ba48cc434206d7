// The "cal" actions of a script: calibration runs on the connected
// transmitter, one line of output each.
//
//   cal start as-found|as-left [points P1,P2,...] [updown] [tolerance T] [reads N]
//   cal point REFERENCE      cal skip      cal end
//   cal technician NAME      cal reference MODEL SERIAL DUE      cal notes TEXT
//   cal certificate FILE     (.pdf or .csv)
//
// A run that cannot start, or a point whose reads fail, ends the script with
// status 1 after a line saying why.
#pragma once

#include "calibration/CalibrationProcedure.h"
#include "ui/script/ScriptRunner.h"

#include <functional>
#include <string>

struct CalibrationHost {
    CalibrationProcedure& procedure;
    std::function<bool()> operationRunning;
    std::function<std::string()> today, now;  // "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS"
    // Files the calibration after a change; "" or why it could not.
    std::function<std::string(const Calibration&)> save;
    // Writes the certificate; "" or why it could not.
    std::function<std::string(const Calibration&, const std::string& path)> certificate;
};

inline constexpr char kCalibrationHelp[] =
    R"(  cal start as-found|as-left [points P1,P2,...] [updown] [tolerance T] [reads N]
                           read the device and start a run (points in percent of
                           the range, default 0,25,50,75,100; tolerance in percent
                           of span, default 0.25; reads a point, default 3)
  cal point REFERENCE      the reference pressure (range unit) at the next point:
                           prints "cal: point <target %> reference=.. pv=.. ma=..
                           pv_error=..% ma_error=..% pass|fail"
  cal skip                 skip the next point
  cal end                  end the run: "cal: as-found|as-left pass|fail <n> points"
  cal technician NAME, cal reference MODEL SERIAL DUE, cal notes TEXT
  cal certificate FILE     the certificate as PDF or CSV, by the file's extension
)";

void AddCalibrationVerbs(ScriptRunner& runner, CalibrationHost host);
