// Names of the manufacturers and device types the tool knows.
#pragma once

#include <cstdint>

struct MfrRow {
    std::uint8_t code;
    char name[17];
};

struct DevTypeRow {
    std::uint8_t mfr;
    std::uint8_t type;
    char name[11];
};

extern const MfrRow MfrTable[2];
extern const DevTypeRow DevTypeTable[5];

// First row with the code, or "Unknow".
const char* MfrName(std::uint8_t mfr);
// First row with both codes, or "Unknow": a device type means nothing
// without its manufacturer.
const char* DevTypeName(std::uint8_t mfr, std::uint8_t type);
