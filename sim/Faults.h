// Faults the simulated modem can inject into its replies, chosen per command
// or at random, so that every refusal path of a master can be exercised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class FaultKind {
    kNoAnswer,      // the request is lost: no reply, the device does not act
    kLetterX,       // 'X' instead of 'P' in the reply line
    kLetterR,       // 'R' instead of 'P'
    kLetterW,       // 'W' instead of 'P'
    kLowerCaseHex,  // the reply's hex digits in lower case
    kMissingLf,     // the reply line ends with CR only
    kLongGap,       // the reply split by a pause (value: ms, default 150)
    kShortCount,    // one status/data byte fewer, byte count to match
    kLongCount,     // byte count larger than the bytes sent (value: extra, default 4)
    kStatusOnly,    // response code 64 and no data: the device lacks the command
    kResponseCode,  // the first status byte replaced (value: code, default 32 busy)
    kBurstBit,      // burst-mode bit 0x40 set in the reply address
    kBadEcho,       // echoed or read setting codes replaced (value, default 254)
    kBadUnit,       // unit codes replaced (value: code, default 32, degC)
    // Lines a master must not take for the reply to its request:
    kBadCheckByte,   // a bit flipped after the check byte was made
    kOtherCommand,   // another command number (value; default: the request's + 1)
    kOtherAddress,   // another device's address
    kBurstBefore,    // a burst frame line comes first (value: ms before the reply, default 150)
    kRepeatLate,     // the previous reply line again (value: ms after this reply, default 200)
    kTrailingBytes,  // "00" after the reply, without a line end (value: ms after, default 105)
    // The binary modem's own:
    kJunkBefore,  // bytes 00 55 FF 06 12 before the reply's preambles
    kStall,       // the reply pauses after its header (value: ms, default 150)
    // The HART-IP server's own, on the responses to token-passing PDUs:
    kRefuseSession,  // session initiate answered with status VALUE (default 15, all sessions in use)
    kWrongSequence,  // the response's sequence number plus VALUE (default 1)
    kErrorStatus,    // status VALUE (default 32, busy) and no body; the device does not act
    kErrorMessage,   // an error message (type 3, status VALUE, default 6) instead; the device does not act
    kLostDatagram,   // no response, though the device acted
    kSplitWrites,    // TCP: the response in two writes VALUE ms apart (default 50)
    kJoinWrites,     // TCP: a publish message and the response in one write
};

// The ways to reach the transmitter: the hex-line modem, the binary modem,
// HART-IP over UDP or TCP. Each takes only the faults that make sense on it.
enum class Link { kHex, kFsk, kUdp, kTcp };

inline constexpr int kAllCommands = -1;

struct FaultRule {
    FaultKind kind = FaultKind::kNoAnswer;
    int command = kAllCommands;  // HART command number, or every command
    int value = -1;              // kind-specific parameter; -1: the default
    int times = -1;              // how many replies it spoils; -1: no limit
};

// The hex-line modem's kinds, in declaration order: no-answer to
// trailing-bytes (the fault matrix crosses these with every operation).
const std::vector<FaultKind>& AllFaultKinds();
// The kinds a link takes, in declaration order.
std::vector<FaultKind> FaultKindsFor(Link link);
bool FaultAppliesTo(FaultKind kind, Link link);
// The pool of random faults when none is named: every kind up to kBadUnit
// that the link takes. The lines a master must not take for its reply, and
// the faults of one link only, come only when named.
std::vector<FaultKind> DefaultRandomFaultKinds(Link link = Link::kHex);
// Command-line names: "no-answer", "letter-x", ... "join-writes".
std::string_view FaultName(FaultKind kind);
std::optional<FaultKind> FaultFromName(std::string_view name);
// The parameter used when a rule gives none (-1: worked out per reply).
int DefaultFaultValue(FaultKind kind);

// The first rule of a kind among those in force for a reply, or none.
const FaultRule* FindFault(const std::vector<FaultRule>& faults, FaultKind kind);
// " [fault: a, b]" for the log, or nothing.
std::string DescribeFaults(const std::vector<FaultRule>& faults);

}  // namespace sim
