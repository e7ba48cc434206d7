#include "sim/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <set>

#include "sim/Console.h"
#include "sim/HartIpServer.h"

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

std::string LinkName(Link link)
{
    switch (link) {
    case Link::kHex:
        return "--link hex";
    case Link::kFsk:
        return "--link fsk";
    case Link::kUdp:
        return "--link hartip without --tcp";
    case Link::kTcp:
        return "--link hartip --tcp";
    }
    return {};
}

// Options that only one link takes, and faults a link cannot show.
bool CheckCombination(const std::set<std::string>& given, SimOptions& options, std::string& error)
{
    const bool hartIp = options.link == Link::kUdp;
    if (given.contains("--tcp")) {
        if (!hartIp) {
            error = "--tcp needs --link hartip";
            return false;
        }
        options.link = Link::kTcp;
    }
    const bool fsk = options.link == Link::kFsk;
    const std::pair<const char*, bool> only[] = {
        {"--listen", hartIp}, {"--publish-version", hartIp}, {"--echo", fsk},          {"--pace", fsk},
        {"--preambles", fsk}, {"--device", !hartIp},         {"--immediate", !hartIp},
    };
    for (const auto& [name, allowed] : only) {
        if (given.contains(name) && !allowed) {
            error = std::string(name) + " does not go with " + LinkName(options.link);
            return false;
        }
    }
    for (const auto& [one, other] : {std::pair{"--immediate", "--pace"}, std::pair{"--address", "--multidrop"}}) {
        if (given.contains(one) && given.contains(other)) {
            error = std::string(one) + " does not go with " + other;
            return false;
        }
    }
    std::vector<FaultKind> kinds = options.modem.randomFaults;
    for (const FaultRule& rule : options.modem.faults)
        kinds.push_back(rule.kind);
    for (const FaultKind kind : kinds) {
        if (!FaultAppliesTo(kind, options.link)) {
            error = "fault " + std::string(FaultName(kind)) + " does not apply to " + LinkName(options.link);
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error)
{
    std::set<std::string> given;
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
        given.insert(name);

        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--immediate") {
            options.modem.immediate = true;
        } else if (name == "--quiet") {
            options.quiet = true;
        } else if (name == "--link") {
            const auto text = need();
            if (!text)
                return false;
            if (*text != "hex" && *text != "fsk" && *text != "hartip") {
                error = "--link takes hex, fsk or hartip, not '" + *text + "'";
                return false;
            }
            options.link = *text == "hex" ? Link::kHex : *text == "fsk" ? Link::kFsk : Link::kUdp;
        } else if (name == "--echo") {
            options.fsk.echo = true;
        } else if (name == "--tcp") {
        } else if (name == "--pace" || name == "--preambles") {
            const auto n = name == "--pace" ? number(50, 115200) : number(2, 20);
            if (!n)
                return false;
            (name == "--pace" ? options.fsk.paceBaud : options.fsk.preambles) = static_cast<int>(*n);
        } else if (name == "--publish-version") {
            const auto n = number(0, 255);
            if (!n)
                return false;
            options.publishVersion = static_cast<int>(*n);
        } else if (name == "--listen") {
            const auto text = need();
            if (!text)
                return false;
            const auto colon = text->rfind(':');
            const auto port = colon == std::string::npos ? std::nullopt : ToNumber(text->substr(colon + 1), 0, 65535);
            if (!port || !ListenHostAllowed(text->substr(0, colon))) {
                error = "--listen takes HOST:PORT, the host 127.x.x.x, localhost or 0.0.0.0, not '" + *text + "'";
                return false;
            }
            options.listenHost = text->substr(0, colon);
            options.listenPort = static_cast<std::uint16_t>(*port);
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
        } else if (name == "--multidrop") {
            const auto n = number(1, 15);
            if (!n)
                return false;
            options.modem.multidrop = static_cast<int>(*n);
        } else if (name == "--pressure" || name == "--sensor-error") {
            const bool pressure = name == "--pressure";
            const auto text = need();
            if (!text)
                return false;
            const auto parsed =
                pressure ? ToDecimal(*text, -kMaxPressureKpa, kMaxPressureKpa) : ToDecimal(*text, -50, 50);
            if (!parsed) {
                error = "bad value for " + name + ": '" + *text + "'";
                return false;
            }
            (pressure ? options.modem.processKpa : options.modem.sensorErrorPct) = *parsed;
        } else if (name == "--steady") {
            options.modem.steady = true;
        } else if (name == "--commands") {
            options.commands = true;
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
    return CheckCombination(given, options, error);
}

std::string Usage()
{
    return R"(Usage: tamsel-sim [options]
Simulates a HART modem with a pressure transmitter on its loop, or a HART-IP
server in front of one. Prints where to reach it as its first line (what
TAMSEL_COM1 takes), logs every request and reply to standard error and serves
until interrupted (SIGINT or SIGTERM).

Link:
  --link hex           the hex-line modem (default): requests and replies as
                       lines of hex on a serial device; prints its path
  --link fsk           a binary modem on a serial device: raw frames after
                       0xFF preambles both ways; prints fsk:PATH?rts=none,
                       with &echo=1 and &preambles=N when set
  --link hartip        a HART-IP server (UDP; --tcp for TCP); prints
                       hartip://127.0.0.1:PORT or hartip+tcp://127.0.0.1:PORT
Device (hex and fsk):
  --device PATH        serve this serial device instead of a new pseudo-terminal
  --immediate          hex: answer at once, in one piece (default: at the
                       speed of a 1200-baud HART loop, in four pieces)
  --echo               fsk: every byte from the master comes back first
  --pace BAUD          fsk: keep the loop's pace, 11 bits a character: a
                       request counts once its last byte would be through, the
                       reply leaves a character at a time (default: at once)
  --preambles N        fsk: 0xFF bytes before each frame sent, 2 to 20 (default 5)
  --quiet              do not log requests and replies
HART-IP:
  --listen HOST:PORT   address to serve, 127.x.x.x, localhost or 0.0.0.0; port
                       0 picks a free one (default 127.0.0.1:0)
  --tcp                TCP, one client at a time, instead of UDP
  --publish-version N  version number in the header of publish messages
                       (default 1), for clients that must take others
Transmitter:
  --address N          polling address, 0 to 15 (default 0)
  --manufacturer N     manufacturer code (default 0xB5)
  --device-type N      device type code (default 0x7C)
  --device-id N        device identification number, 24 bits (default 0x010203)
  --multidrop N        N transmitters, 1 to 15, on the one line instead, at
                       polling addresses 1 to N, with device ids from
                       --device-id on (the one at address A: id + A - 1) and
                       tags PT-101, PT-102, ...; all in multidrop mode, their
                       loop current parked at 4 mA
  --pressure KPA       pressure applied to the sensors (default 50)
  --steady             the applied pressure holds still (default: it wobbles
                       by up to 0.25 kPa, less with more damping)
  --sensor-error PCT   sensor gain error, -50 to 50 (default 0): the sensor
                       reads (1 + PCT/100) x the applied pressure. A lower
                       sensor trim (command 131) at the lower range value and
                       an upper one (130) at the upper, each at its pressure,
                       in either order, make the PV the applied pressure again
  --commands           read lines from standard input while serving, each
                       answered on standard output by one line, "ok" or
                       "error: WHY" (after the first line):
                         pressure KPA [ADDR]  apply KPA (-100000 to 100000)
                         wobble 0|1 [ADDR]    the pressure's wobble off or on
                       ADDR: only the transmitter at that polling address
  --burst-period MS    time from one burst frame (HART-IP: publish message) to
                       the next while the tool has the transmitter in burst
                       mode (default 500)
Faults, each as --NAME[=SEL[:VALUE[:TIMES]]], repeatable and combinable.
SEL is a command number or "all" (the default), VALUE replaces the default
parameter, TIMES limits how many replies the fault spoils (default: all).
On every link:
  --no-answer          no reply; the transmitter never sees the request
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
  --burst-before       a burst frame VALUE ms (default 150) before the reply
                       (HART-IP: a publish message, the response VALUE ms later)
  --repeat-late        the previous reply sent again VALUE ms (default 200)
                       after the reply
Hex only:
  --letter-x           reply letter 'X' instead of 'P'
  --letter-r           reply letter 'R' instead of 'P'
  --letter-w           reply letter 'W' instead of 'P'
  --lowercase-hex      reply hex digits in lower case
  --missing-lf         reply line without its final LF
  --long-gap           reply split by a pause of VALUE ms (default 150)
  --trailing-bytes     "00" alone VALUE ms (default 105) after the reply
Fsk only:
  --junk-before        bytes 00 55 FF 06 12 before the reply's preambles
  --stall              the reply pauses VALUE ms (default 150) after its header
HART-IP only (SEL: the command of the PDU):
  --refuse-session     session initiate answered with status VALUE (default 15,
                       all available sessions in use); SEL does not apply
  --wrong-sequence     the response's sequence number plus VALUE (default 1)
  --error-status       response status VALUE (default 32, busy), no body; the
                       transmitter does not see the request
  --error-message      an error message (type 3) with status VALUE (default 6)
                       instead of the response; the transmitter does not see it
  --lost-datagram      no response, though the transmitter acted
  --split-writes       TCP: the response in two writes VALUE ms apart (default 50)
  --join-writes        TCP: a publish message and the response in one write
Random faults:
  --random-rate R      chance per reply, 0 to 1, of one fault drawn at random
  --random-faults LIST comma-separated fault names to draw from (default: all
                       from no-answer to bad-unit that the link takes)
  --seed N             seed of the random choice (default 1)
  --help               this text

Before a session is initiated, HART-IP requests get status 16 (access
restricted); a session initiate with a short body gets 5, with a master type
other than 0 or 1 gets 2, and from a second UDP client gets 15.

Examples: tamsel-sim --no-answer=1::2 --response-code=36:9 --random-rate=0.05
          tamsel-sim --multidrop 3 --sensor-error 2.5 --steady --commands
          tamsel-sim --link fsk --echo --pace 1200 --stall=1:300
          tamsel-sim --link hartip --tcp --listen 127.0.0.1:5094 --split-writes
)";
}

}  // namespace sim
