// Finds HART frames in the bytes of a binary modem: anything is skipped until
// at least two preambles (0xFF) are followed by a delimiter; the frame then
// ends with the check byte after the data its byte count declares, so no
// quiet time is needed to know where it ends.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class FrameHunter {
public:
    // One byte from the line; the frame, delimiter to check byte, when this
    // byte completed one.
    std::optional<std::vector<std::uint8_t>> Feed(std::uint8_t byte);
    // A frame has begun and is not yet whole.
    bool InFrame() const { return !m_Frame.empty(); }
    // Back to hunting: what was collected is dropped.
    void Reset();

private:
    int m_Preambles = 0;
    std::vector<std::uint8_t> m_Frame;
    std::size_t m_Length = 0;  // the whole frame's, once its byte count is in
};
