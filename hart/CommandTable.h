// Every HART command the tool sends, one constant row per command: how its
// request is built and how its reply is read.
#pragma once

#include <cstdint>
#include <span>

enum class FrameForm : std::uint8_t {
    Short,  // 5 bytes, polling address; command 0 only
    Long,   // 9 + n bytes, addressed by the 5-byte unique identifier
};

// What the send writes over the template before the checksum.
enum class DataFill : std::uint8_t {
    None,               // no request data
    PollingAddress,     // short frame: address byte = 0x80 | reqCode[0]
    Code0,              // byte 0 = reqCode[0]
    Codes012,           // bytes 0, 1, 2 = reqCode[0], [1], [2]
    Float0,             // bytes 0-3 = reqValue[0]
    Code0Float0,        // byte 0 = reqCode[0]; bytes 1-4 = reqValue[0]
    Code0Float0Float1,  // byte 0 = reqCode[0]; bytes 1-4 = reqValue[0]; 5-8 = reqValue[1]
    Block,              // all n bytes from reqBlock
    Template,           // the template data go out as they stand
    Code0FixedByte1,    // byte 0 = reqCode[0]; byte 1 = the row's fixedByte1
};

enum class ReplyFamily : std::uint8_t {
    Command0,      // fixed layout; also yields the unique identifier
    Fixed,         // fixed layout of codes and floats
    Block,         // points at a block of data the caller copies
    Status,        // byte count, response code, device status only
    Echo,          // status head + data byte 0 echoed
    FloatEcho,     // status head + float echoed
    StatusValues,  // status head + a command-specific set of values
};

// The status families also store m_nReplyCode[0..2] = byte count,
// response code, device status.
constexpr bool HasStatusHead(ReplyFamily f)
{
    return f == ReplyFamily::Status || f == ReplyFamily::Echo || f == ReplyFamily::FloatEcho ||
           f == ReplyFamily::StatusValues;
}

enum class ValueKind : std::uint8_t {
    Unused,  // end of a row's value list
    Code,    // one byte, widened, into m_nReplyCode[slot]
    Float,   // four big-endian bytes into m_fReplyValue[slot]
    Data,    // m_pReplyData points at the byte
};

// dataByte counts from the first byte after the two status bytes.
struct ReplyValue {
    ValueKind kind = ValueKind::Unused;
    std::uint8_t slot = 0;
    std::uint8_t dataByte = 0;
};

inline constexpr int kMaxRequestData = 24;
inline constexpr int kMaxReplyValues = 8;

struct CommandInfo {
    std::uint8_t command = 0;
    FrameForm form = FrameForm::Long;
    std::uint8_t dataLen = 0;  // request data bytes n
    std::uint8_t templateData[kMaxRequestData] = {};
    DataFill fill = DataFill::None;
    std::uint8_t fixedByte1 = 0;  // Code0FixedByte1 only
    ReplyFamily family = ReplyFamily::Fixed;
    std::uint8_t minByteCount = 0;  // below it the reply is too short
    std::int16_t items = 0;         // values stored from a complete reply, head included
    ReplyValue values[kMaxReplyValues] = {};
};

// Second data byte of the device-specific writes 134, 135 and 192. The
// transmitter echoes only byte 0, so the byte carries no setting; a fixed 0
// keeps every try's frame the same.
inline constexpr std::uint8_t kSpecificWriteByte1 = 0x00;

std::span<const CommandInfo> AllCommands();
// nullptr when the command is not in the table.
const CommandInfo* FindCommand(std::uint8_t command);
