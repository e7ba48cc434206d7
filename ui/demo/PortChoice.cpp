#include "ui/demo/PortChoice.h"

#include <exception>
#include <ostream>

PortChoice ChoosePorts(bool demo)
{
    PortChoice choice;
    if (demo) {
        choice.demo = std::make_unique<DemoTransmitter>();
        choice.ports = choice.demo->Ports();
    } else {
        choice.ports = PortMap::Load();
    }
    return choice;
}

std::optional<PortChoice> ChoosePortsOrSay(bool demo, std::string_view program, std::ostream& err)
{
    try {
        return ChoosePorts(demo);
    } catch (const std::exception& e) {
        err << program << ": cannot start the demo transmitter: " << e.what() << "\n";
        return std::nullopt;
    }
}
