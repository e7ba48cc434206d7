// What the pseudo-terminal and the HART-IP server loops share: a system
// call's failure as an exception, descriptors closed once, bytes that wait
// for their time, the pipe that wakes a loop to stop, and the milliseconds
// since the loop began.
#pragma once

#include "sim/Wire.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sim {

// what, then errno's text.
std::runtime_error SystemError(const std::string& what);

// Closes fd when it is open and marks it closed.
void CloseFd(int& fd);

struct Due {
    std::uint64_t atMs;
    Bytes bytes;
};

// Ends a server thread's poll() from another thread: Wake writes a byte, and
// the loop polls ReadEnd() beside its device.
class WakePipe {
public:
    WakePipe() = default;
    ~WakePipe() { Close(); }
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    // Throws std::runtime_error when no pipe can be had.
    void Open();
    void Wake() const;
    int ReadEnd() const { return m_Read; }
    void Close();

private:
    int m_Read = -1;
    int m_Write = -1;
};

class LoopClock {
public:
    std::uint64_t NowMs() const
    {
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_Start).count());
    }

private:
    std::chrono::steady_clock::time_point m_Start = std::chrono::steady_clock::now();
};

}  // namespace sim
