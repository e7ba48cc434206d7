#include "sim/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace sim {

namespace {

// Decimal, or hexadecimal with 0x; the whole text must be the number.
std::optional<long> ToNumber(const std::string& text, long low, long high)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t at = text.find(separator, begin);
        parts.push_back(text.substr(begin, at - begin));
        if (at == std::string::npos)
            return parts;
        begin = at + 1;
    }
}

// SEL[:VALUE[:TIMES]]; empty parts keep their defaults.
bool ParseFaultArgument(const std::string& text, FaultRule& rule, std::string& error)
{
    const auto parts = Split(text, ':');
    if (parts.size() > 3) {
        error = "too many fields in '" + text + "'";
        return false;
    }
    if (!parts[0].empty() && parts[0] != "all") {
        const auto command = ToNumber(parts[0], 0, 255);
        if (!command) {
            error = "bad command '" + parts[0] + "'";
            return false;
        }
        rule.command = static_cast<int>(*command);
    }
    if (parts.size() > 1 && !parts[1].empty()) {
        const auto value = ToNumber(parts[1], 0, 100000);
        if (!value) {
            error = "bad value '" + parts[1] + "'";
            return false;
        }
        rule.value = static_cast<int>(*value);
    }
    if (parts.size() > 2 && !parts[2].empty()) {
        const auto times = ToNumber(parts[2], 1, 1000000);
        if (!times) {
            error = "bad count '" + parts[2] + "'";
            return false;
        }
        rule.times = static_cast<int>(*times);
    }
    return true;
}

bool ParseFaultList(const std::string& text, std::vector<FaultKind>& kinds, std::string& error)
{
    kinds.clear();
    for (const std::string& name : Split(text, ',')) {
        const auto kind = FaultFromName(name);
        if (!kind) {
            error = "unknown fault '" + name + "'";
            return false;
        }
        kinds.push_back(*kind);
    }
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        // Options that need a value also take it as the next argument.
        const auto need = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 < args.size())
                return args[++i];
            error = name + " needs a value";
            return std::nullopt;
        };
        const auto number = [&](long low, long high) -> std::optional<long> {
            const auto text = need();
            if (!text)
                return std::nullopt;
            const auto parsed = ToNumber(*text, low, high);
            if (!parsed)
                error = "bad value for " + name + ": '" + *text + "'";
            return parsed;
        };
        Identity& id = options.modem.identity;

        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--immediate") {
            options.modem.immediate = true;
        } else if (name == "--quiet") {
            options.quiet = true;
        } else if (name == "--device") {
            const auto text = need();
            if (!text)
                return false;
            if (text->empty()) {
                error = "--device needs the path of a serial device";
                return false;
            }
            options.devicePath = *text;
        } else if (name == "--address") {
            const auto n = number(0, 15);
            if (!n)
                return false;
            id.pollingAddress = static_cast<std::uint8_t>(*n);
        } else if (name == "--manufacturer" || name == "--device-type") {
            const auto n = number(0, 255);
            if (!n)
                return false;
            (name == "--manufacturer" ? id.manufacturer : id.deviceType) = static_cast<std::uint8_t>(*n);
        } else if (name == "--device-id") {
            const auto n = number(0, 0xFFFFFF);
            if (!n)
                return false;
            id.deviceId = {static_cast<std::uint8_t>(*n >> 16), static_cast<std::uint8_t>(*n >> 8),
                           static_cast<std::uint8_t>(*n)};
        } else if (name == "--burst-period") {
            const auto n = number(1, 600000);
            if (!n)
                return false;
            options.modem.burstPeriodMs = static_cast<int>(*n);
        } else if (name == "--random-rate") {
            const auto text = need();
            if (!text)
                return false;
            char* end = nullptr;
            const double rate = std::strtod(text->c_str(), &end);
            if (text->empty() || *end != '\0' || !(rate >= 0.0 && rate <= 1.0)) {
                error = "bad value for --random-rate: '" + *text + "'";
                return false;
            }
            options.modem.randomFaultRate = rate;
        } else if (name == "--random-faults") {
            const auto text = need();
            if (!text || !ParseFaultList(*text, options.modem.randomFaults, error))
                return false;
        } else if (name == "--seed") {
            const auto n = number(0, 0x7FFFFFFF);
            if (!n)
                return false;
            options.modem.seed = static_cast<std::uint32_t>(*n);
        } else if (const auto kind = name.starts_with("--") ? FaultFromName(name.substr(2)) : std::nullopt) {
            FaultRule rule{*kind, kAllCommands, -1, -1};
            if (value && !ParseFaultArgument(*value, rule, error))
                return false;
            options.modem.faults.push_back(rule);
        } else {
            error = "unknown option '" + args[i] + "'";
            return false;
        }
    }
    return true;
}

std::string Usage()
{
    return R"(Usage: tamsel-sim [options]
Simulates a HART modem with a pressure transmitter on its loop. Prints the
serial device to open as its first line, logs every request and reply to
standard error and serves until interrupted (SIGINT or SIGTERM).

Device:
  --device PATH        serve this serial device instead of a new pseudo-terminal
  --immediate          answer at once, in one piece (default: at the speed of
                       a 1200-baud HART loop, in four pieces)
  --quiet              do not log requests and replies
Transmitter:
  --address N          polling address, 0 to 15 (default 0)
  --manufacturer N     manufacturer code (default 0xB5)
  --device-type N      device type code (default 0x7C)
  --device-id N        device identification number, 24 bits (default 0x010203)
  --burst-period MS    time from one burst frame to the next while the tool has
                       the transmitter in burst mode (default 500)
Faults, each as --NAME[=SEL[:VALUE[:TIMES]]], repeatable and combinable.
SEL is a command number or "all" (the default), VALUE replaces the default
parameter, TIMES limits how many replies the fault spoils (default: all).
  --no-answer          no reply; the transmitter never sees the request
  --letter-x           reply letter 'X' instead of 'P'
  --letter-r           reply letter 'R' instead of 'P'
  --letter-w           reply letter 'W' instead of 'P'
  --lowercase-hex      reply hex digits in lower case
  --missing-lf         reply line without its final LF
  --long-gap           reply split by a pause of VALUE ms (default 150)
  --short-count        one status or data byte fewer, byte count to match
  --long-count         byte count VALUE more than the bytes sent (default 4)
  --status-only        only the two status bytes, response code 64 (a
                       command the device lacks; it does not act on it)
  --response-code      response code VALUE (default 32), data kept
  --burst-bit          burst-mode bit set in the reply address
  --bad-echo           echoed or read setting codes set to VALUE (default 254)
  --bad-unit           unit codes set to VALUE (default 32, not a pressure unit)
  --bad-check          one bit of the reply frame flipped after its check byte
                       was made (the first data byte, else the byte count)
  --other-command      reply frame with command number VALUE (default: the
                       request's + 1), check byte correct
  --other-address      reply frame with another device's address (long: last
                       identifier byte XOR 1; short: polling address + 1)
  --burst-before       a burst frame line VALUE ms (default 150) before the reply
  --repeat-late        the previous reply line sent again VALUE ms (default 200)
                       after the reply
  --trailing-bytes     "00" alone VALUE ms (default 105) after the reply
Random faults:
  --random-rate R      chance per reply, 0 to 1, of one fault drawn at random
  --random-faults LIST comma-separated fault names to draw from (default: all
                       from no-answer to bad-unit)
  --seed N             seed of the random choice (default 1)
  --help               this text

Example: tamsel-sim --no-answer=1::2 --response-code=36:9 --random-rate=0.05
)";
}

}  // namespace sim
