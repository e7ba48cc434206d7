#include "sim/Faults.h"

namespace sim {

namespace {

struct FaultInfo {
    FaultKind kind;
    std::string_view name;
    int defaultValue;
};

constexpr FaultInfo kFaults[] = {
    {FaultKind::kNoAnswer, "no-answer", 0},
    {FaultKind::kLetterX, "letter-x", 0},
    {FaultKind::kLetterR, "letter-r", 0},
    {FaultKind::kLetterW, "letter-w", 0},
    {FaultKind::kLowerCaseHex, "lowercase-hex", 0},
    {FaultKind::kMissingLf, "missing-lf", 0},
    {FaultKind::kLongGap, "long-gap", 150},
    {FaultKind::kShortCount, "short-count", 0},
    {FaultKind::kLongCount, "long-count", 4},
    {FaultKind::kStatusOnly, "status-only", 0},
    {FaultKind::kResponseCode, "response-code", 32},
    {FaultKind::kBurstBit, "burst-bit", 0},
    {FaultKind::kBadEcho, "bad-echo", 254},
    {FaultKind::kBadUnit, "bad-unit", 32},
    {FaultKind::kBadCheckByte, "bad-check", 0},
    {FaultKind::kOtherCommand, "other-command", -1},
    {FaultKind::kOtherAddress, "other-address", 0},
    {FaultKind::kBurstBefore, "burst-before", 150},
    {FaultKind::kRepeatLate, "repeat-late", 200},
    {FaultKind::kTrailingBytes, "trailing-bytes", 105},
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
    static const std::vector<FaultKind> kinds = [] {
        std::vector<FaultKind> all;
        for (const FaultInfo& info : kFaults)
            all.push_back(info.kind);
        return all;
    }();
    return kinds;
}

const std::vector<FaultKind>& DefaultRandomFaultKinds()
{
    static const std::vector<FaultKind> kinds = {
        FaultKind::kNoAnswer,     FaultKind::kLetterX,    FaultKind::kLetterR,      FaultKind::kLetterW,
        FaultKind::kLowerCaseHex, FaultKind::kMissingLf,  FaultKind::kLongGap,      FaultKind::kShortCount,
        FaultKind::kLongCount,    FaultKind::kStatusOnly, FaultKind::kResponseCode, FaultKind::kBurstBit,
        FaultKind::kBadEcho,      FaultKind::kBadUnit,
    };
    return kinds;
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

}  // namespace sim
