#include "hart/Units.h"

std::uint8_t g_nUnitRow = 0;

const UnitRow UnitTable[kUnitRows] = {
    {1, "inH2O"}, {2, "inHg"},   {3, "ftH2O"}, {4, "mmH2O"}, {5, "mmHg"},  {6, "psi"},  {7, "bar"},   {8, "mbar"},
    {9, "g/cm2"}, {10, "kg/c2"}, {11, "Pa"},   {12, "kPa"},  {13, "torr"}, {14, "atm"}, {237, "MPa"},
};

const float UnitPerKpa[kUnitRows] = {
    4.021849f, 0.2953006f,  0.3351539f, 102.2394f, 7.500627f, 0.1450379f,   0.01f,  10.0f,
    10.1972f,  0.01019719f, 1000.0f,    1.0f,      7.500627f, 0.009869253f, 0.001f,
};

bool IsBadUnitCode(std::uint8_t code)
{
    for (int row = 0; row < kUnitRows; ++row) {
        if (UnitTable[row].code == code) {
            g_nUnitRow = static_cast<std::uint8_t>(row);
            return false;
        }
    }
    return true;
}

double UnitToKpa(std::uint8_t row, float value)
{
    if (row >= kUnitRows)
        return 0.0;
    return static_cast<double>(value) / static_cast<double>(UnitPerKpa[row]);
}

const char* UnitName(int row) { return row >= 0 && row < kUnitRows ? UnitTable[row].name : ""; }

std::uint8_t UnitCodeOfRow(int row) { return row >= 0 && row < kUnitRows ? UnitTable[row].code : 0; }

int UnitRowOfName(std::string_view name)
{
    for (int row = 0; row < kUnitRows; ++row)
        if (name == UnitTable[row].name)
            return row;
    return -1;
}

int UnitRowOfCode(std::uint8_t code)
{
    for (int row = 0; row < kUnitRows; ++row)
        if (UnitTable[row].code == code)
            return row;
    return -1;
}
