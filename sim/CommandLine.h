// Command-line options of the tamsel-sim program.
#pragma once

#include <string>
#include <vector>

#include "sim/Modem.h"

namespace sim {

struct SimOptions {
    ModemOptions modem;
    std::string devicePath;  // empty: a new pseudo-terminal
    bool help = false;
    bool quiet = false;
};

// Arguments without the program name. False with a message on a bad option.
bool ParseCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string Usage();

}  // namespace sim
