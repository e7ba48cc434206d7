// Reads one HART reply frame, already turned from hex text into bytes, into
// a result code, the burst flag and the reply record.
#pragma once

#include "hart/CommandTable.h"

#include <cstdint>

// Values of the last successful decode. A decode that fails leaves it alone.
struct ReplyRecord {
    std::int16_t m_nReplyItems = 0;
    std::int16_t m_nReplyCode[7] = {};
    float m_fReplyValue[3] = {};
    // Points into the decoded frame; valid only as long as that buffer.
    const std::uint8_t* m_pReplyData = nullptr;

    // The status head that the status families store in codes 0 to 2, and
    // the echoed code that follows it.
    std::int16_t ByteCount() const { return m_nReplyCode[0]; }
    std::int16_t ResponseCode() const { return m_nReplyCode[1]; }
    std::int16_t EchoedCode() const { return m_nReplyCode[3]; }
    // Only the two status bytes came back: the transmitter lacks the command.
    bool StatusOnly() const { return ByteCount() == kStatusOnlyByteCount; }

    static constexpr std::int16_t kStatusOnlyByteCount = 2;
};

struct ReplyDecode {
    std::int16_t result = 0;      // kResultOk or kResultTooShort
    bool burstKnown = false;      // the address byte was received
    bool burst = false;           // its bit 0x40: the transmitter is in burst mode
    std::int16_t byteCount = -1;  // the byte-count byte, -1 when not received
};

// Result kResultOk when the frame holds its header, the byte count it
// declares and at least the command's minimum; otherwise kResultTooShort and
// nothing is stored. A value is taken only from bytes inside the declared
// count; a status-family value the reply does not carry is cleared and not
// counted in m_nReplyItems. uniqueId is written by command 0 on success only.
ReplyDecode DecodeReplyFrame(const CommandInfo& cmd, const std::uint8_t* frame, int frameLen, ReplyRecord& record,
                             std::uint8_t uniqueId[5]);
