// tamsel-sim: a HART modem and transmitter on a pseudo-terminal, for trying
// the configuration tool without hardware.
#include <signal.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/PtyServer.h"

int main(int argc, char** argv)
{
    sim::SimOptions options;
    std::string error;
    if (!sim::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "tamsel-sim: " << error << "\n\n" << sim::Usage();
        return 2;
    }
    if (options.help) {
        std::cout << sim::Usage();
        return 0;
    }

    // Block the stop signals before the server thread starts, so that it
    // inherits the mask and only sigwait() below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::PtyServer::LogFn log;
    if (!options.quiet)
        log = [](const std::string& line) { std::cerr << line << std::endl; };
    sim::PtyServer server(options.modem, log);
    try {
        const std::string path = options.devicePath.empty() ? server.Start() : server.Start(options.devicePath);
        std::cout << path << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "tamsel-sim: " << e.what() << "\n";
        return 1;
    }

    // Until a stop signal, or until the device the server serves goes away.
    const timespec poll{0, 200 * 1000 * 1000};
    while (sigtimedwait(&stopSignals, nullptr, &poll) < 0) {
        if (!server.Running()) {
            std::cerr << "tamsel-sim: the device closed\n";
            return 1;
        }
    }
    server.Stop();
    return 0;
}
