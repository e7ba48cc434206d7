// When the pieces of a reply line reach the serial port, for a modem that
// forwards each request over a 1200-baud HART loop and waits for the answer.
//
// One exchange, counted from the last byte of the request line:
//   request on the loop   (5 preambles + request frame) x 11 bits / 1200 baud
//   turnaround            20 ms for the device to start answering
//   reply on the loop     (5 preambles + reply frame) x 11 bits / 1200 baud
//   reply line to the PC  4 pieces at 9600 baud, 10 bits per byte; each piece
//                         is due when its last byte has left the modem
// A HART byte is 11 bits (start, 8 data, odd parity, stop): 9.17 ms. So a
// command 0 at polling address 0 (5-byte request, 19-byte reply, 44-byte
// line) takes 92 + 20 + 220 ms on the loop and its pieces arrive 12, 23, 35
// and 46 ms later: gaps of about 12 ms, far below a 100 ms quiet time.
#pragma once

#include <cstddef>
#include <vector>

#include "sim/Wire.h"

namespace sim {

struct Chunk {
    int delayMs;  // after the time given to the modem (a request's last byte)
    Bytes bytes;
};

namespace timing {
inline constexpr int kPreambles = 5;
inline constexpr int kLoopBaud = 1200;
inline constexpr int kLoopBitsPerByte = 11;
inline constexpr int kTurnaroundMs = 20;
inline constexpr int kSerialBaud = 9600;
inline constexpr int kSerialBitsPerByte = 10;
inline constexpr int kPieces = 4;
}  // namespace timing

// Request and reply on the loop plus the turnaround, rounded up per frame.
int LoopMs(std::size_t requestFrameBytes, std::size_t replyFrameBytes);

// One frame with its preambles on the loop: the time a burst frame takes.
int FrameLoopMs(std::size_t frameBytes);

// The line cut into pieces due from startMs on; immediate: one piece at 0.
std::vector<Chunk> ScheduleLine(const Bytes& line, int startMs, bool immediate);

// Holds back the second half of the pieces by gapMs more (a lone piece is
// split in two first), so the line reaches the port in two bursts.
void InsertGap(std::vector<Chunk>& chunks, int gapMs);

}  // namespace sim
