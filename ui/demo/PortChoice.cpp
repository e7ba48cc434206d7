#include "ui/demo/PortChoice.h"

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
