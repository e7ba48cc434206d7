#include "hart/ReplyDecoder.h"

#include "hart/FrameLayout.h"
#include "hart/ResultCodes.h"
#include "modem/Hex.h"

namespace {

using hartframe::kBurstBit;
using hartframe::kStatusBytes;

int HeaderLength(FrameForm form) { return hartframe::HeaderLength(form == FrameForm::Long); }

int ValueSize(ValueKind kind) { return kind == ValueKind::Float ? 4 : 1; }

void ClearValue(const ReplyValue& v, ReplyRecord& record)
{
    switch (v.kind) {
    case ValueKind::Code:
        record.m_nReplyCode[v.slot] = 0;
        break;
    case ValueKind::Float:
        record.m_fReplyValue[v.slot] = 0.0f;
        break;
    case ValueKind::Data:
        record.m_pReplyData = nullptr;
        break;
    case ValueKind::Unused:
        break;
    }
}

void StoreValue(const ReplyValue& v, const std::uint8_t* data, ReplyRecord& record)
{
    const std::uint8_t* at = data + v.dataByte;
    switch (v.kind) {
    case ValueKind::Code:
        record.m_nReplyCode[v.slot] = *at;
        break;
    case ValueKind::Float:
        record.m_fReplyValue[v.slot] = FloatFromWire(at);
        break;
    case ValueKind::Data:
        record.m_pReplyData = at;
        break;
    case ValueKind::Unused:
        break;
    }
}

}  // namespace

ReplyDecode DecodeReplyFrame(const CommandInfo& cmd, const std::uint8_t* frame, int frameLen, ReplyRecord& record,
                             std::uint8_t uniqueId[5])
{
    ReplyDecode out;
    out.result = kResultTooShort;
    if (frame == nullptr || frameLen < 0)
        frameLen = 0;
    if (frameLen >= 2) {
        out.burstKnown = true;
        out.burst = (frame[1] & kBurstBit) != 0;
    }
    const int header = HeaderLength(cmd.form);
    if (frameLen < header)
        return out;
    const int byteCount = frame[header - 1];
    out.byteCount = static_cast<std::int16_t>(byteCount);
    // Values come only from bytes this reply delivered, never from what an
    // earlier, longer reply left in the buffer.
    if (frameLen < header + byteCount || byteCount < cmd.minByteCount)
        return out;

    const std::uint8_t* status = frame + header;
    const std::uint8_t* data = status + kStatusBytes;
    const bool head = HasStatusHead(cmd.family);
    int stored = 0;
    if (head) {
        record.m_nReplyCode[0] = static_cast<std::int16_t>(byteCount);
        record.m_nReplyCode[1] = status[0];
        record.m_nReplyCode[2] = status[1];
        stored = 3;
    }
    bool complete = true;
    for (const ReplyValue& v : cmd.values) {
        if (v.kind == ValueKind::Unused)
            break;
        if (kStatusBytes + v.dataByte + ValueSize(v.kind) <= byteCount) {
            StoreValue(v, data, record);
            ++stored;
        } else {
            ClearValue(v, record);
            complete = false;
        }
    }
    // A complete reply counts as the table says (command 14 counts its seven
    // values as 5); only a status family can be incomplete here.
    record.m_nReplyItems = complete ? cmd.items : static_cast<std::int16_t>(stored);

    if (cmd.family == ReplyFamily::Command0)
        for (int i = 0; i < 5; ++i)
            uniqueId[i] = static_cast<std::uint8_t>(record.m_nReplyCode[i] & 0xFF);
    out.result = kResultOk;
    return out;
}
