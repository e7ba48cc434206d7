// Pressure units the tool knows: HART code, name and size per kilopascal.
#pragma once

#include <cstdint>
#include <string_view>

struct UnitRow {
    std::uint8_t code;
    char name[6];  // NUL-padded; code 10 is "kg/c2" for want of room
};

inline constexpr int kUnitRows = 15;

// Row i is also entry i of the PV unit list.
extern const UnitRow UnitTable[kUnitRows];
// How many of the row's unit make one kilopascal.
extern const float UnitPerKpa[kUnitRows];
// Row of the last code IsBadUnitCode found; starts at 0.
extern std::uint8_t g_nUnitRow;

// False when the code is in UnitTable, and then g_nUnitRow is its row; true
// (g_nUnitRow unchanged) when it is not.
bool IsBadUnitCode(std::uint8_t code);
// value in the row's unit, in kilopascal; 0 for a row of 15 or more.
double UnitToKpa(std::uint8_t row, float value);
// Name field of the row; "" for a row out of the table.
const char* UnitName(int row);
// HART code of the row (the unit list's entry); 0, no unit, out of the table.
std::uint8_t UnitCodeOfRow(int row);
// Row whose name field is the text a value box shows; -1 for any other text.
int UnitRowOfName(std::string_view name);
// Row of a HART unit code, -1 for a code the table lacks; g_nUnitRow stays.
int UnitRowOfCode(std::uint8_t code);
