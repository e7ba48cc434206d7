// tamsel: the tool in its window. One modal dialog; the process ends when it
// closes.
#include "ui/demo/PortChoice.h"
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
)";

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage << "\n" << kPortsHelp;
            return 0;
        }
        if (std::strcmp(argv[i], "--demo") != 0) {
            std::cerr << "tamsel: unknown option " << argv[i] << "\n" << kUsage;
            return 2;
        }
        demo = true;
    }

    PortChoice choice;
    try {
        choice = ChoosePorts(demo);
    } catch (const std::exception& e) {
        std::cerr << "tamsel: cannot start the demo transmitter: " << e.what() << "\n";
        return 3;
    }

    CTamselApp theApp(std::move(choice.ports));
    theApp.InitInstance();
    return 0;
}
