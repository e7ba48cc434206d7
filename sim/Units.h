// Pressure units the simulated transmitter accepts, by HART unit code.
#pragma once

#include <cstdint>
#include <optional>

namespace sim {

// How many of the unit make one kilopascal; nothing for a code the
// transmitter does not know (it then refuses with "invalid selection").
std::optional<double> UnitsPerKpa(std::uint8_t code);

inline constexpr std::uint8_t kUnitKpa = 12;

}  // namespace sim
