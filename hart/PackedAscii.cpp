#include "hart/PackedAscii.h"

namespace {

std::uint32_t SixBits(char ch) { return static_cast<unsigned char>(ch) & 0x3Fu; }

char UpperCase(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - ('a' - 'A')) : ch; }

bool IsFieldWidth(std::size_t width) { return width > 0 && width % 4 == 0; }

}  // namespace

void PackAscii4(std::uint8_t dst[3], const char src[4])
{
    const std::uint32_t v =
        (SixBits(src[0]) << 18) | (SixBits(src[1]) << 12) | (SixBits(src[2]) << 6) | SixBits(src[3]);
    dst[0] = static_cast<std::uint8_t>(v >> 16);
    dst[1] = static_cast<std::uint8_t>(v >> 8);
    dst[2] = static_cast<std::uint8_t>(v);
}

void UnpackAscii4(char dst[4], const std::uint8_t src[3])
{
    const std::uint32_t v = (std::uint32_t{src[0]} << 16) | (std::uint32_t{src[1]} << 8) | src[2];
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t code = (v >> (18 - 6 * i)) & 0x3Fu;
        dst[i] = static_cast<char>(code < 0x20 ? code + 0x40 : code);
    }
}

bool PackTextField(std::string_view text, std::size_t width, std::uint8_t* dst)
{
    if (!IsFieldWidth(width) || text.size() > width)
        return false;
    for (std::size_t g = 0; g < width / 4; ++g) {
        char group[4];
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t at = 4 * g + i;
            group[i] = at < text.size() ? UpperCase(text[at]) : ' ';
        }
        PackAscii4(dst + 3 * g, group);
    }
    return true;
}

std::string UnpackTextField(const std::uint8_t* src, std::size_t width)
{
    if (!IsFieldWidth(width))
        return {};
    std::string text(width, ' ');
    for (std::size_t g = 0; g < width / 4; ++g)
        UnpackAscii4(text.data() + 4 * g, src + 3 * g);
    return text;
}
