// Where the programs' serial ports come from: the built-in demo transmitter
// as COM1 only, or the ports of this machine.
#pragma once

#include "ui/demo/DemoTransmitter.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string_view>

struct PortChoice {
    std::unique_ptr<DemoTransmitter> demo;  // kept alive while the ports are used
    PortMap ports;
};

// Throws std::runtime_error when the demo transmitter cannot be started.
PortChoice ChoosePorts(bool demo);

// ChoosePorts for a program's main: when the demo transmitter cannot start,
// says why on err, after the program's name, and gives nothing (the
// programs then exit with 3).
std::optional<PortChoice> ChoosePortsOrSay(bool demo, std::string_view program, std::ostream& err);

// The programs' help text on port numbering.
inline constexpr char kPortsHelp[] = R"(Ports: COM1 to COM16 are named by the environment variables TAMSEL_COM1 ...
TAMSEL_COM16 when any of them is set (an empty value means no such port);
otherwise by the values saved with "Ports..." in the window's menu; otherwise
they are the system's serial ports in the order of their names. A value is
  /dev/ttyUSB0                  the hex-line modem on that device
  fsk:/dev/ttyUSB0?rts=high|low|none&preambles=N&echo=0|1
                                a binary HART modem (1200 baud, odd parity)
  hartip://HOST[:PORT]          a HART-IP gateway over UDP (port 5094 by default)
  hartip+tcp://HOST[:PORT]      the same over TCP
)";
