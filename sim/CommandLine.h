// Command-line options of the tamsel-sim program.
#pragma once

#include <string>
#include <vector>

#include "sim/FskModem.h"
#include "sim/HartIp.h"

namespace sim {

struct SimOptions {
    ModemOptions modem;
    Link link = Link::kHex;
    FskOptions fsk;                        // --link fsk
    std::string listenHost = "127.0.0.1";  // --link hartip
    std::uint16_t listenPort = 0;          // 0: a free one
    int publishVersion = hartip::kVersion;
    std::string devicePath;  // empty: a new pseudo-terminal
    bool help = false;
    bool quiet = false;
    bool commands = false;  // read console lines (sim/Console.h) from standard input
};

// Arguments without the program name. False with a message on a bad option.
bool ParseCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string Usage();

}  // namespace sim
