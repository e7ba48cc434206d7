// The lines tamsel-sim reads from its standard input with --commands, to
// change the process under the transmitters while it serves:
//   pressure KPA [ADDRESS]  the pressure applied to the sensors, in kPa
//   wobble 0|1 [ADDRESS]    the applied pressure's small wobble off or on
// ADDRESS picks the transmitter at that polling address; without it the
// line goes to every transmitter. Each line gets one answer, "ok" or
// "error: " and why; a refused line changes nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/Transmitter.h"

namespace sim {

// Widest applied pressure taken, either sign, in kPa: beyond any sensor.
inline constexpr double kMaxPressureKpa = 100000.0;

std::string RunConsoleLine(const std::string& line, std::vector<Transmitter>& devices);

// A decimal number within low to high; the whole text must be the number.
std::optional<double> ToDecimal(const std::string& text, double low, double high);

}  // namespace sim
