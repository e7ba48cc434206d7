// Serves the simulated transmitter as a HART-IP server on a loopback (or
// any-host) address from a background thread: UDP, one message a datagram,
// or TCP, one client at a time, each write at its time.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/HartIp.h"
#include "sim/ServeLoop.h"

namespace sim {

// 127.x.x.x, localhost or 0.0.0.0: a test server listens nowhere else.
bool ListenHostAllowed(const std::string& host);

class HartIpServer {
public:
    using LogFn = HartIp::LogFn;

    explicit HartIpServer(ModemOptions options = {}, int publishVersion = hartip::kVersion, LogFn log = {},
                          bool tcp = false);
    ~HartIpServer();  // stops
    HartIpServer(const HartIpServer&) = delete;
    HartIpServer& operator=(const HartIpServer&) = delete;

    // Binds the host and port (0: a free one) and serves; returns the
    // address for a client: hartip://127.0.0.1:PORT, or hartip+tcp://...
    // Throws std::runtime_error on failure.
    std::string Start(const std::string& host, std::uint16_t port);
    void Stop();  // harmless when not running
    bool Running() const { return m_Serving; }
    // Runs fn on the transmitters between the server's own turns, from any
    // thread, running or not.
    void WithDevices(const std::function<void(std::vector<Transmitter>&)>& fn);

private:
    void Serve();
    void CloseAll();

    mutable std::mutex m_Mutex;
    std::mutex m_SessionMutex;  // held by the server thread but while it waits
    HartIp m_HartIp;
    LogFn m_Log;
    bool m_Tcp;
    std::thread m_Thread;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Serving{false};
    int m_Socket = -1;  // UDP socket, or the TCP listening socket
    WakePipe m_Wake;    // Stop() wakes the thread out of poll()
    std::string m_Address;
};

}  // namespace sim
