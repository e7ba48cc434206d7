#include "sim/Faults.h"

#include <algorithm>
#include <iterator>

namespace sim {

namespace {

// Which links take a kind.
constexpr unsigned kHex = 1u << static_cast<unsigned>(Link::kHex);
constexpr unsigned kFsk = 1u << static_cast<unsigned>(Link::kFsk);
constexpr unsigned kUdp = 1u << static_cast<unsigned>(Link::kUdp);
constexpr unsigned kTcp = 1u << static_cast<unsigned>(Link::kTcp);
constexpr unsigned kFrames = kHex | kFsk | kUdp | kTcp;
constexpr unsigned kHartIp = kUdp | kTcp;

struct FaultInfo {
    FaultKind kind;
    std::string_view name;
    int defaultValue;
    unsigned links;
};

constexpr FaultInfo kFaults[] = {
    {FaultKind::kNoAnswer, "no-answer", 0, kFrames},
    {FaultKind::kLetterX, "letter-x", 0, kHex},
    {FaultKind::kLetterR, "letter-r", 0, kHex},
    {FaultKind::kLetterW, "letter-w", 0, kHex},
    {FaultKind::kLowerCaseHex, "lowercase-hex", 0, kHex},
    {FaultKind::kMissingLf, "missing-lf", 0, kHex},
    {FaultKind::kLongGap, "long-gap", 150, kHex},
    {FaultKind::kShortCount, "short-count", 0, kFrames},
    {FaultKind::kLongCount, "long-count", 4, kFrames},
    {FaultKind::kStatusOnly, "status-only", 0, kFrames},
    {FaultKind::kResponseCode, "response-code", 32, kFrames},
    {FaultKind::kBurstBit, "burst-bit", 0, kFrames},
    {FaultKind::kBadEcho, "bad-echo", 254, kFrames},
    {FaultKind::kBadUnit, "bad-unit", 32, kFrames},
    {FaultKind::kBadCheckByte, "bad-check", 0, kFrames},
    {FaultKind::kOtherCommand, "other-command", -1, kFrames},
    {FaultKind::kOtherAddress, "other-address", 0, kFrames},
    {FaultKind::kBurstBefore, "burst-before", 150, kFrames},
    {FaultKind::kRepeatLate, "repeat-late", 200, kFrames},
    {FaultKind::kTrailingBytes, "trailing-bytes", 105, kHex},
    {FaultKind::kJunkBefore, "junk-before", 0, kFsk},
    {FaultKind::kStall, "stall", 150, kFsk},
    // Session initiate status codes: 15 all available sessions in use.
    {FaultKind::kRefuseSession, "refuse-session", 15, kHartIp},
    {FaultKind::kWrongSequence, "wrong-sequence", 1, kHartIp},
    {FaultKind::kErrorStatus, "error-status", 32, kHartIp},
    {FaultKind::kErrorMessage, "error-message", 6, kHartIp},
    {FaultKind::kLostDatagram, "lost-datagram", 0, kHartIp},
    {FaultKind::kSplitWrites, "split-writes", 50, kTcp},
    {FaultKind::kJoinWrites, "join-writes", 0, kTcp},
};

const FaultInfo& Info(FaultKind kind)
{
    for (const FaultInfo& info : kFaults) {
        if (info.kind == kind)
            return info;
    }
    return kFaults[0];
}

}  // namespace

const std::vector<FaultKind>& AllFaultKinds()
{
    static const std::vector<FaultKind> kinds = FaultKindsFor(Link::kHex);
    return kinds;
}

std::vector<FaultKind> FaultKindsFor(Link link)
{
    std::vector<FaultKind> kinds;
    for (const FaultInfo& info : kFaults) {
        if (FaultAppliesTo(info.kind, link))
            kinds.push_back(info.kind);
    }
    return kinds;
}

bool FaultAppliesTo(FaultKind kind, Link link) { return (Info(kind).links & (1u << static_cast<unsigned>(link))) != 0; }

std::vector<FaultKind> DefaultRandomFaultKinds(Link link)
{
    static const std::vector<FaultKind> kinds = {
        FaultKind::kNoAnswer,     FaultKind::kLetterX,    FaultKind::kLetterR,      FaultKind::kLetterW,
        FaultKind::kLowerCaseHex, FaultKind::kMissingLf,  FaultKind::kLongGap,      FaultKind::kShortCount,
        FaultKind::kLongCount,    FaultKind::kStatusOnly, FaultKind::kResponseCode, FaultKind::kBurstBit,
        FaultKind::kBadEcho,      FaultKind::kBadUnit,
    };
    std::vector<FaultKind> pool;
    std::copy_if(kinds.begin(), kinds.end(), std::back_inserter(pool),
                 [link](FaultKind kind) { return FaultAppliesTo(kind, link); });
    return pool;
}

std::string_view FaultName(FaultKind kind) { return Info(kind).name; }

std::optional<FaultKind> FaultFromName(std::string_view name)
{
    for (const FaultInfo& info : kFaults) {
        if (info.name == name)
            return info.kind;
    }
    return std::nullopt;
}

int DefaultFaultValue(FaultKind kind) { return Info(kind).defaultValue; }

const FaultRule* FindFault(const std::vector<FaultRule>& faults, FaultKind kind)
{
    for (const FaultRule& rule : faults) {
        if (rule.kind == kind)
            return &rule;
    }
    return nullptr;
}

std::string DescribeFaults(const std::vector<FaultRule>& faults)
{
    std::string text;
    for (const FaultRule& rule : faults) {
        text += text.empty() ? " [fault: " : ", ";
        text += FaultName(rule.kind);
    }
    return text.empty() ? text : text + "]";
}

}  // namespace sim
