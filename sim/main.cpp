// tamsel-sim: a HART modem and transmitter on a pseudo-terminal, or a
// HART-IP server, for trying the configuration tool without hardware.
#include <signal.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/HartIpServer.h"
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
    std::unique_ptr<sim::PtyServer> pty;
    std::unique_ptr<sim::HartIpServer> hartIp;
    try {
        if (options.link == sim::Link::kUdp || options.link == sim::Link::kTcp) {
            hartIp = std::make_unique<sim::HartIpServer>(options.modem, options.publishVersion, log,
                                                         options.link == sim::Link::kTcp);
            std::cout << hartIp->Start(options.listenHost, options.listenPort) << std::endl;
        } else {
            pty =
                options.link == sim::Link::kFsk
                    ? std::make_unique<sim::PtyServer>(std::make_unique<sim::FskModem>(options.modem, options.fsk), log)
                    : std::make_unique<sim::PtyServer>(options.modem, log);
            const std::string path = options.devicePath.empty() ? pty->Start() : pty->Start(options.devicePath);
            std::cout << (options.link == sim::Link::kFsk ? sim::FskAddress(path, options.fsk) : path) << std::endl;
        }
    } catch (const std::exception& e) {
        std::cerr << "tamsel-sim: " << e.what() << "\n";
        return 1;
    }

    // Until a stop signal, or until the device the server serves goes away.
    const timespec poll{0, 200 * 1000 * 1000};
    while (sigtimedwait(&stopSignals, nullptr, &poll) < 0) {
        if (!(pty ? pty->Running() : hartIp->Running())) {
            std::cerr << "tamsel-sim: " << (pty ? "the device closed" : "the server stopped") << "\n";
            return 1;
        }
    }
    return 0;  // the servers stop as they go
}
