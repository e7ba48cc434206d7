#include "sim/Units.h"

namespace sim {

namespace {

struct UnitRow {
    std::uint8_t code;
    double perKpa;
};

// Water columns at 68 degF, mercury columns at 0 degC, as HART defines them.
constexpr UnitRow kUnits[] = {
    {1, 1000.0 / 248.84},     // inH2O
    {2, 1000.0 / 3386.389},   // inHg
    {3, 1000.0 / 2986.08},    // ftH2O
    {4, 1000.0 / 9.7970},     // mmH2O
    {5, 1000.0 / 133.3224},   // mmHg
    {6, 1000.0 / 6894.757},   // psi
    {7, 0.01},                // bar
    {8, 10.0},                // mbar
    {9, 1000.0 / 98.0665},    // g/cm2
    {10, 1000.0 / 98066.5},   // kg/cm2
    {11, 1000.0},             // Pa
    {12, 1.0},                // kPa
    {13, 1000.0 / 133.3224},  // torr
    {14, 1000.0 / 101325.0},  // atm
    {237, 0.001},             // MPa
};

}  // namespace

std::optional<double> UnitsPerKpa(std::uint8_t code)
{
    for (const UnitRow& row : kUnits) {
        if (row.code == code)
            return row.perKpa;
    }
    return std::nullopt;
}

}  // namespace sim
