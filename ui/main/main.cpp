// tamsel: the tool in its window. One modal dialog; the process ends when it
// closes.
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"

#include <QApplication>

#include <cstring>
#include <iostream>
#include <memory>

namespace {

const char kUsage[] = R"(Usage: tamsel [--demo]

Configures and calibrates a HART pressure transmitter through a HART modem on
a serial port.

Options:
  --demo     serve the built-in simulated transmitter as port COM1 (the only port)
  --help     show this text

Ports: COM1 to COM16 are the devices named by the environment variables
TAMSEL_COM1 ... TAMSEL_COM16 when any of them is set (an empty value means no
such port); otherwise the system's serial ports in the order of their names.
)";

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--demo") != 0) {
            std::cerr << "tamsel: unknown option " << argv[i] << "\n" << kUsage;
            return 2;
        }
        demo = true;
    }

    std::unique_ptr<DemoTransmitter> transmitter;
    PortMap ports;
    try {
        if (demo) {
            transmitter = std::make_unique<DemoTransmitter>();
            ports = transmitter->Ports();
        } else {
            ports = PortMap::Load();
        }
    } catch (const std::exception& e) {
        std::cerr << "tamsel: cannot start the demo transmitter: " << e.what() << "\n";
        return 3;
    }

    CTamselApp theApp(std::move(ports));
    theApp.InitInstance();
    return 0;
}
