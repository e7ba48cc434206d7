// Serves a simulated modem (the hex-line one unless given another) on a
// pseudo-terminal or a given serial device from a background thread, writing
// each reply piece at its time, and the burst frames of a bursting
// transmitter at theirs.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/Modem.h"
#include "sim/ServeLoop.h"

namespace sim {

class PtyServer {
public:
    using LogFn = std::function<void(const std::string&)>;

    // The log callback, if any, receives request and reply lines from the
    // server thread.
    explicit PtyServer(ModemOptions options = {}, LogFn log = {});
    PtyServer(std::unique_ptr<SerialModem> modem, LogFn log);
    ~PtyServer();  // stops
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens a pseudo-terminal in raw mode and serves its master side; returns
    // the slave device path for the master program to open. Throws
    // std::runtime_error on failure. While running, returns the current path.
    std::string Start();
    // Serves an existing serial device instead (set to raw 9600 8N1).
    std::string Start(const std::string& devicePath);
    // Ends the thread and closes the device; harmless when not running.
    void Stop();

    // False once the thread ended: stopped, or the device closed.
    bool Running() const;
    // Reply bytes waiting for the master to read them; bounded.
    std::size_t PendingBytes() const { return m_PendingBytes; }
    // Runs fn on the transmitters between the server's own turns, from any
    // thread, running or not.
    void WithDevices(const std::function<void(std::vector<Transmitter>&)>& fn);

private:
    std::string StartOn(int fd, int holdFd, const std::string& path);
    void Serve();
    void CloseAll();

    mutable std::mutex m_Mutex;
    std::mutex m_ModemMutex;  // held by the server thread but while it waits
    std::unique_ptr<SerialModem> m_Modem;
    LogFn m_Log;
    std::thread m_Thread;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Serving{false};
    std::atomic<std::size_t> m_PendingBytes{0};
    int m_Fd = -1;      // the side the modem reads and writes
    int m_HoldFd = -1;  // our own slave descriptor: keeps the pty alive between users
    WakePipe m_Wake;    // Stop() wakes the thread out of poll()
    std::string m_Path;
};

}  // namespace sim
