// A calibration as a file: JSON that a later version can still read, and the
// tables as CSV. Apart from the runs themselves, so that only the hosts that
// file calibrations build the JSON library.
#pragma once

#include "calibration/Calibration.h"

#include <string>
#include <variant>

// The file: JSON with a format name and version; and the file's name,
// "<tag>_<device id>_<date>.json", with characters unsafe in a file name
// replaced.
std::string ToJson(const Calibration& calibration);
std::variant<Calibration, std::string> CalibrationFromJson(const std::string& text);
std::string FileNameOf(const Calibration& calibration);
// The tables, one row a point, for a spreadsheet.
std::string ToCsv(const Calibration& calibration);
