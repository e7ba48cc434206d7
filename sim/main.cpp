// tamsel-sim: a HART modem and transmitter on a pseudo-terminal, or a
// HART-IP server, for trying the configuration tool without hardware.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/Console.h"
#include "sim/HartIpServer.h"
#include "sim/PtyServer.h"

namespace {

// A console line longer than this is refused; a real one is far shorter.
constexpr std::size_t kMaxConsoleLine = 1024;

}  // namespace

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

    // Until a stop signal, or until the device the server serves goes away;
    // with --commands, console lines from standard input meanwhile.
    const int signals = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signals < 0) {
        std::cerr << "tamsel-sim: signalfd failed\n";
        return 1;
    }
    bool reading = options.commands;
    bool skipping = false;  // the rest of a line too long, already answered
    std::string pending;
    const auto answer = [&log](const std::string& line, const std::string& text) {
        std::cout << text << std::endl;
        if (log)
            log("console " + line + ": " + text);
    };
    const auto run = [&](const std::string& line) {
        std::string text;
        const auto apply = [&](std::vector<sim::Transmitter>& devices) { text = sim::RunConsoleLine(line, devices); };
        pty ? pty->WithDevices(apply) : hartIp->WithDevices(apply);
        answer(line, text);
    };
    for (;;) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {reading ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, 200) < 0 && errno != EINTR)
            return 1;
        if (fds[0].revents != 0)
            return 0;  // the servers stop as they go
        if (!(pty ? pty->Running() : hartIp->Running())) {
            std::cerr << "tamsel-sim: " << (pty ? "the device closed" : "the server stopped") << "\n";
            return 1;
        }
        if (fds[1].revents == 0)
            continue;
        char buffer[512];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // Standard input ended: serve on without it, the last line answered.
            reading = false;
            if (!pending.empty())
                run(pending);
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            if (!std::exchange(skipping, false))
                run(pending.substr(0, end));
        }
        if (!skipping && pending.size() > kMaxConsoleLine) {
            answer(pending.substr(0, 40) + "...", "error: line too long");
            skipping = true;
        }
        if (skipping)
            pending.clear();
    }
}
