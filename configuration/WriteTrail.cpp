#include "configuration/WriteTrail.h"

#include "hart/DateAndAssembly.h"
#include "hart/PackedAscii.h"
#include "hart/Units.h"
#include "text/Format.h"

namespace {

std::string Number(float value) { return FormatText("%.7g", double{value}); }

std::string Unit(std::int16_t code)
{
    const int row = UnitRowOfCode(static_cast<std::uint8_t>(code));
    return row < 0 ? "code " + std::to_string(code) : UnitName(row);
}

std::string Text(const std::uint8_t* packed, std::size_t width)
{
    std::string text = UnpackTextField(packed, width);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

void WriteTrail::Wrote(const std::string& setting, const std::string& value)
{
    const auto before = m_Known.find(setting);
    m_Record.Note("write " + setting + " " + (before == m_Known.end() ? "?" : before->second) + " -> " + value);
    m_Known[setting] = value;
}

void WriteTrail::ReplyRead(std::uint8_t command, const ReplyRecord& r)
{
    const std::int16_t* code = r.m_nReplyCode;
    const float* value = r.m_fReplyValue;
    const std::uint8_t* data = r.m_pReplyData;
    switch (command) {
    case 15:
        Known("range unit", Unit(code[2]));
        Known("upper range value", Number(value[0]));
        Known("lower range value", Number(value[1]));
        Known("damping", Number(value[2]));
        Known("transfer function", std::to_string(code[1]));
        Known("alarm selection", std::to_string(code[0]));
        Known("write protection", std::to_string(code[3]));
        break;
    case 1:
        Known("PV unit", Unit(code[0]));
        break;
    case 2:
        Known("loop current", Number(value[0]));
        break;
    case 13:
        Known("tag", Text(data, 8));
        Known("descriptor", Text(data + 6, 16));
        Known("date", DateToText(data + 18));
        break;
    case 12:
        Known("message", Text(data, 32));
        break;
    case 16: {
        const std::uint8_t bytes[3] = {std::uint8_t(code[0]), std::uint8_t(code[1]), std::uint8_t(code[2])};
        Known("final assembly number", AssemblyToText(bytes));
        break;
    }
    case 165:
        Known("display", std::to_string(code[0]));
        break;
    case 105:
        Known("burst mode", std::to_string(code[0]));
        Known("burst command", std::to_string(code[1]));
        break;
    case 128:
        Known("upper trim point", Number(value[0]));
        Known("lower trim point", Number(value[1]));
        break;
    default:
        break;
    }
    // What a write reply echoes, in data bytes after the status: a write the
    // transmitter refused, or one cut short, wrote nothing to note.
    const std::map<std::uint8_t, int> kEcho = {{6, 1},   {34, 4},  {35, 9},  {40, 4},  {44, 1},  {45, 4},
                                               {46, 4},  {47, 1},  {108, 1}, {109, 1}, {130, 5}, {131, 5},
                                               {134, 1}, {135, 1}, {192, 1}, {17, 24}, {18, 21}, {19, 3}};
    const auto echo = kEcho.find(command);
    if (echo == kEcho.end() || r.ByteCount() < ReplyRecord::kStatusOnlyByteCount + echo->second)
        return;
    switch (command) {
    case 6:
        return Wrote("polling address", std::to_string(code[3]));
    case 34:
        return Wrote("damping", Number(value[0]));
    case 35:
        Wrote("range unit", Unit(code[3]));
        Wrote("upper range value", Number(value[0]));
        return Wrote("lower range value", Number(value[1]));
    case 40:
        return Wrote("loop current", Number(value[0]));
    case 44:
        return Wrote("PV unit", Unit(code[3]));
    case 45:
        return Wrote("4 mA output trim", Number(value[0]));
    case 46:
        return Wrote("20 mA output trim", Number(value[0]));
    case 47:
        return Wrote("transfer function", std::to_string(code[3]));
    case 108:
        return Wrote("burst command", std::to_string(code[3]));
    case 109:
        return Wrote("burst mode", std::to_string(code[3]));
    case 130:
        return Wrote("upper trim point", Number(value[0]));
    case 131:
        return Wrote("lower trim point", Number(value[0]));
    case 134:
        return Wrote("display", std::to_string(code[3]));
    case 135:
        return Wrote("alarm selection", std::to_string(code[3]));
    case 192:
        return Wrote("write protection", std::to_string(code[3]));
    case 17:
        return Wrote("message", Text(data, 32));
    case 18:
        Wrote("tag", Text(data, 8));
        Wrote("descriptor", Text(data + 6, 16));
        return Wrote("date", DateToText(data + 18));
    case 19: {
        const std::uint8_t bytes[3] = {std::uint8_t(code[4]), std::uint8_t(code[5]), std::uint8_t(code[6])};
        return Wrote("final assembly number", AssemblyToText(bytes));
    }
    default:
        return;
    }
}
