#include "hart/Identity.h"

namespace {
constexpr const char* kUnknown = "Unknow";
}

const MfrRow MfrTable[2] = {{0x00, "Brimwaters"}, {0xB5, "Fenmarks"}};

const DevTypeRow DevTypeTable[5] = {
    {0x00, 0x01, "Sorrel"}, {0x00, 0x02, "Sorrel"}, {0xB5, 0x7C, "Harrow"},
    {0xB5, 0x7B, "Quiver"}, {0xB5, 0x7A, "Tallow"},
};

const char* MfrName(std::uint8_t mfr)
{
    for (const MfrRow& row : MfrTable)
        if (row.code == mfr)
            return row.name;
    return kUnknown;
}

const char* DevTypeName(std::uint8_t mfr, std::uint8_t type)
{
    for (const DevTypeRow& row : DevTypeTable)
        if (row.mfr == mfr && row.type == type)
            return row.name;
    return kUnknown;
}
