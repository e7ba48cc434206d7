// The "config" and "survey" actions of a script, on the connected
// transmitter's port, one line of output for each finding.
//
//   config save FILE     config compare FILE     config restore FILE [--clone]
//   survey
//
// A job that cannot be done ends the script with status 1 after a line
// saying why.
#pragma once

#include "configuration/ConfigurationProcedure.h"
#include "ui/script/ScriptRunner.h"

#include <functional>
#include <string>

struct ConfigurationHost {
    ConfigurationProcedure& procedure;
    std::function<bool()> operationRunning;
    std::function<std::string()> now;  // "YYYY-MM-DD HH:MM:SS"
};

inline constexpr char kConfigurationHelp[] =
    R"(  config save FILE         read the transmitter's configuration into FILE (JSON)
  config compare FILE      read it and print each writable setting that differs:
                           "config: <setting> device=<value> file=<value>", then
                           "config: <n> differ"
  config restore FILE [--clone]
                           write the settings that differ, each read back; another
                           device of the same type only with --clone:
                           "config: wrote <setting> <old> -> <new>", "config: restored <n>"
  survey                   poll addresses 0 to 15: "survey: <address> <manufacturer>
                           <device type> <device id> <tag>" for each device
)";

void AddConfigurationVerbs(ScriptRunner& runner, ConfigurationHost host);
