#include "hart/CommandTable.h"

#include <iterator>

namespace {

constexpr ReplyValue Code(std::uint8_t slot, std::uint8_t dataByte) { return {ValueKind::Code, slot, dataByte}; }
constexpr ReplyValue Float(std::uint8_t slot, std::uint8_t dataByte) { return {ValueKind::Float, slot, dataByte}; }
constexpr ReplyValue Data(std::uint8_t dataByte) { return {ValueKind::Data, 0, dataByte}; }

constexpr FrameForm Short = FrameForm::Short;
constexpr FrameForm Long = FrameForm::Long;
using F = DataFill;
using R = ReplyFamily;

// Template data bytes that a fill replaces are placeholders and never reach
// the wire; only command 172 sends its template data as they stand.
// clang-format off
constexpr CommandInfo kCommands[] = {
    {.command = 0, .form = Short, .dataLen = 0, .fill = F::PollingAddress,
     .family = R::Command0, .minByteCount = 14, .items = 5,
     .values = {Code(0, 1), Code(1, 2), Code(2, 9), Code(3, 10), Code(4, 11)}},
    {.command = 1, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 7, .items = 2, .values = {Code(0, 0), Float(0, 1)}},
    {.command = 2, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 10, .items = 2, .values = {Float(0, 0), Float(1, 4)}},
    {.command = 6, .form = Long, .dataLen = 1, .templateData = {0x00}, .fill = F::Code0, .family = R::Echo, .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 12, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Block, .minByteCount = 26, .items = 1, .values = {Data(0)}},
    {.command = 13, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Block, .minByteCount = 23, .items = 1, .values = {Data(0)}},
    // Seven values but five items: the connect script expects exactly 5.
    {.command = 14, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 18, .items = 5,
     .values = {Code(0, 0), Code(1, 1), Code(2, 2), Code(3, 3), Float(0, 4), Float(1, 8), Float(2, 12)}},
    {.command = 15, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 19, .items = 8,
     .values = {Code(0, 0), Code(1, 1), Code(2, 2), Float(0, 3), Float(1, 7), Float(2, 11), Code(3, 15),
                Code(4, 16)}},
    {.command = 16, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 5, .items = 3, .values = {Code(0, 0), Code(1, 1), Code(2, 2)}},
    {.command = 17, .form = Long, .dataLen = 24,
     .templateData = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x00, 0x01,
                      0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x00, 0x01, 0x02, 0x03},
     .fill = F::Block, .family = R::StatusValues, .minByteCount = 2,
     .items = 4, .values = {Data(0)}},
    {.command = 18, .form = Long, .dataLen = 21,
     .templateData = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x00,
                      0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x00},
     .fill = F::Block, .family = R::StatusValues, .minByteCount = 2,
     .items = 4, .values = {Data(0)}},
    // Element 3 is left alone: the assembly number lands in codes 4 to 6.
    {.command = 19, .form = Long, .dataLen = 3, .templateData = {0x00, 0x01, 0x02}, .fill = F::Codes012, .family = R::StatusValues, .minByteCount = 2, .items = 6,
     .values = {Code(4, 0), Code(5, 1), Code(6, 2)}},
    {.command = 34, .form = Long, .dataLen = 4, .templateData = {0x0A, 0x0B, 0x0C, 0x0D}, .fill = F::Float0, .family = R::FloatEcho, .minByteCount = 2, .items = 4,
     .values = {Float(0, 0)}},
    {.command = 35, .form = Long, .dataLen = 9,
     .templateData = {0x01, 0x14, 0x15, 0x16, 0x17, 0x1E, 0x1F, 0x20, 0x21}, .fill = F::Code0Float0Float1, .family = R::StatusValues, .minByteCount = 2, .items = 6,
     .values = {Code(3, 0), Float(0, 1), Float(1, 5)}},
    {.command = 36, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Status, .minByteCount = 2, .items = 3},
    {.command = 37, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Status, .minByteCount = 2, .items = 3},
    {.command = 40, .form = Long, .dataLen = 4, .templateData = {0x00, 0x01, 0x02, 0x03}, .fill = F::Float0, .family = R::FloatEcho, .minByteCount = 2, .items = 4,
     .values = {Float(0, 0)}},
    {.command = 43, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Status, .minByteCount = 2, .items = 3},
    {.command = 44, .form = Long, .dataLen = 1, .templateData = {0x00}, .fill = F::Code0, .family = R::Echo, .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 45, .form = Long, .dataLen = 4, .templateData = {0x00, 0x01, 0x02, 0x03}, .fill = F::Float0, .family = R::FloatEcho, .minByteCount = 2, .items = 4,
     .values = {Float(0, 0)}},
    {.command = 46, .form = Long, .dataLen = 4, .templateData = {0x00, 0x01, 0x02, 0x03}, .fill = F::Float0, .family = R::FloatEcho, .minByteCount = 2, .items = 4,
     .values = {Float(0, 0)}},
    {.command = 47, .form = Long, .dataLen = 1, .templateData = {0x00}, .fill = F::Code0, .family = R::Echo, .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 108, .form = Long, .dataLen = 1, .templateData = {0x00}, .fill = F::Code0, .family = R::Echo, .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 109, .form = Long, .dataLen = 1, .templateData = {0x00}, .fill = F::Code0, .family = R::Echo, .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 128, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 24, .items = 3, .values = {Code(0, 13), Float(0, 14), Float(1, 18)}},
    {.command = 130, .form = Long, .dataLen = 5, .templateData = {0x01, 0x14, 0x15, 0x16, 0x17},
     .fill = F::Code0Float0, .family = R::StatusValues, .minByteCount = 2,
     .items = 5, .values = {Code(3, 0), Float(0, 1)}},
    {.command = 131, .form = Long, .dataLen = 5, .templateData = {0x01, 0x14, 0x15, 0x16, 0x17},
     .fill = F::Code0Float0, .family = R::StatusValues, .minByteCount = 2,
     .items = 5, .values = {Code(3, 0), Float(0, 1)}},
    {.command = 134, .form = Long, .dataLen = 2, .templateData = {0x00, 0x01}, .fill = F::Code0FixedByte1,
     .fixedByte1 = kSpecificWriteByte1, .family = R::Echo,
     .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    {.command = 135, .form = Long, .dataLen = 2, .templateData = {0x00, 0x01}, .fill = F::Code0FixedByte1,
     .fixedByte1 = kSpecificWriteByte1, .family = R::Echo,
     .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
    // Read burst mode configuration: the mode control code and the burst command.
    {.command = 105, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 4, .items = 2, .values = {Code(0, 0), Code(1, 1)}},
    {.command = 165, .form = Long, .dataLen = 0, .fill = F::None,
     .family = R::Fixed, .minByteCount = 3, .items = 1, .values = {Code(0, 0)}},
    // A fixed access code: five printable characters and one byte of 0x80 or above.
    {.command = 172, .form = Long, .dataLen = 6, .templateData = {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6},
     .fill = F::Template, .family = R::Block, .minByteCount = 14,
     .items = 1, .values = {Data(6)}},
    {.command = 192, .form = Long, .dataLen = 2, .templateData = {0x00, 0x01}, .fill = F::Code0FixedByte1,
     .fixedByte1 = kSpecificWriteByte1, .family = R::Echo,
     .minByteCount = 2, .items = 4, .values = {Code(3, 0)}},
};
// clang-format on

constexpr int ValueCount(const CommandInfo& c)
{
    int n = 0;
    while (n < kMaxReplyValues && c.values[n].kind != ValueKind::Unused)
        ++n;
    return n;
}

// Mistakes a row can hold that the compiler can catch: a value reaching past
// the minimum of a fixed layout, a status family whose item count is not its
// head plus its values, a data fill that does not fit n.
constexpr bool RowIsConsistent(const CommandInfo& c)
{
    if (c.dataLen > kMaxRequestData || (c.form == FrameForm::Short) != (c.fill == DataFill::PollingAddress))
        return false;
    if (HasStatusHead(c.family))
        return c.minByteCount == 2 && c.items == 3 + ValueCount(c);
    for (int i = 0; i < ValueCount(c); ++i) {
        const int size = c.values[i].kind == ValueKind::Float ? 4 : 1;
        if (2 + c.values[i].dataByte + size > c.minByteCount)
            return false;
    }
    return true;
}

constexpr bool TableIsConsistent()
{
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        if (!RowIsConsistent(kCommands[i]))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (kCommands[j].command == kCommands[i].command)
                return false;
    }
    return true;
}

static_assert(std::size(kCommands) == 33);
static_assert(TableIsConsistent());

template <typename Pred>
const CommandInfo* FindFirst(Pred pred)
{
    for (const CommandInfo& c : kCommands)
        if (pred(c))
            return &c;
    return nullptr;
}

}  // namespace

std::span<const CommandInfo> AllCommands() { return kCommands; }

const CommandInfo* FindCommand(std::uint8_t command)
{
    return FindFirst([command](const CommandInfo& c) { return c.command == command; });
}
