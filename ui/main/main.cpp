// tamsel: the tool in its window. One modal dialog; the process ends when it
// closes, or in order on SIGTERM, SIGINT or SIGHUP.
#include "ui/demo/PortChoice.h"
#include "ui/main/CTamselApp.h"
#include "ui/record/RecordOptions.h"

#include <QApplication>
#include <QTimer>

#include <cstring>
#include <iostream>
#include <memory>

namespace {

const char kUsage[] = R"(Usage: tamsel [--demo] [--trend] [--record FILE | --no-record]

Configures and calibrates a HART pressure transmitter through a HART modem on
a serial port.

Options:
  --demo         serve the built-in simulated transmitter as port COM1 (the only port)
  --trend        open the trend window at start ("Trend..." in the window menu)
  --help         show this text
)";

}  // namespace

int main(int argc, char** argv)
{
    // The options first: --help and a bad option need no display.
    bool demo = false;
    bool trend = false;
    RecordPlace record = RecordPlace::DefaultDaily();
    std::string error;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage << kRecordHelp << "\n" << kPortsHelp;
            return 0;
        }
        if (std::strcmp(argv[i], "--demo") == 0)
            demo = true;
        else if (std::strcmp(argv[i], "--trend") == 0)
            trend = true;
        else if (!TakeRecordOption(argc, argv, i, record, error))
            error = "unknown option " + std::string(argv[i]);
        if (!error.empty()) {
            std::cerr << "tamsel: " << error << "\n" << kUsage << kRecordHelp;
            return 2;
        }
    }

    QApplication app(argc, argv);
    std::optional<PortChoice> choice = ChoosePortsOrSay(demo, "tamsel", std::cerr);
    if (!choice)
        return 3;

    CTamselApp theApp(std::move(choice->ports), record);
    if (demo)
        theApp.KeepPorts();
    if (trend)
        QTimer::singleShot(0, [&theApp] { theApp.ShowTrend(); });  // over the main window
    return theApp.Run();
}
