#include "sim/Console.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace sim {

std::optional<double> ToDecimal(const std::string& text, double low, double high)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string RunConsoleLine(const std::string& line, std::vector<Transmitter>& devices)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty())
        return "error: empty line";
    const bool pressure = words[0] == "pressure";
    if (!pressure && words[0] != "wobble")
        return "error: unknown command '" + words[0] + "', not pressure or wobble";
    if (words.size() < 2 || words.size() > 3)
        return "error: " + words[0] + " takes " + (pressure ? "KPA" : "0 or 1") + " and an optional polling address";

    const bool on = words[1] == "1";
    const std::optional<double> kpa = ToDecimal(words[1], -kMaxPressureKpa, kMaxPressureKpa);
    if (pressure && !kpa)
        return "error: bad pressure '" + words[1] + "', not kPa from -100000 to 100000";
    if (!pressure && !on && words[1] != "0")
        return "error: bad value '" + words[1] + "', not 0 or 1";
    std::vector<Transmitter*> targets;
    for (Transmitter& t : devices)
        targets.push_back(&t);
    if (words.size() == 3) {
        const std::string& address = words[2];
        if (address.empty() || address.size() > 2 || address.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(address) > 15)
            return "error: bad polling address '" + address + "', not 0 to 15";
        std::erase_if(targets, [&address](const Transmitter* t) {
            return t->State().identity.pollingAddress != std::stoi(address);
        });
        if (targets.empty())
            return "error: no transmitter at polling address " + address;
    }
    for (Transmitter* t : targets) {
        if (pressure)
            t->State().processKpa = *kpa;
        else
            t->State().wobble = on;
    }
    return "ok";
}

}  // namespace sim
