// The simulated HART pressure transmitter: answers the commands a master
// sends, keeping its configuration from one command to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/Units.h"
#include "sim/Wire.h"

namespace sim {

struct Identity {
    std::uint8_t manufacturer = 0xB5;
    std::uint8_t deviceType = 0x7C;
    std::array<std::uint8_t, 3> deviceId{0x01, 0x02, 0x03};
    std::uint8_t pollingAddress = 0;  // 0 to 15; not 0 means multidrop
};

// HART response codes the transmitter uses (first status byte).
namespace rc {
inline constexpr std::uint8_t kOk = 0;
inline constexpr std::uint8_t kInvalidSelection = 2;
inline constexpr std::uint8_t kTooLarge = 3;
inline constexpr std::uint8_t kTooSmall = 4;
inline constexpr std::uint8_t kTooFewDataBytes = 5;
inline constexpr std::uint8_t kWriteProtected = 7;
inline constexpr std::uint8_t kSetToNearest = 8;    // warning: data follows
inline constexpr std::uint8_t kProcessTooHigh = 9;  // also: invalid date, trim points too close
inline constexpr std::uint8_t kProcessTooLow = 10;
inline constexpr std::uint8_t kUpperTooHigh = 11;  // also: in multidrop mode (command 40)
inline constexpr std::uint8_t kUpperTooLow = 12;
inline constexpr std::uint8_t kSpanTooSmall = 14;  // warning: data follows
inline constexpr std::uint8_t kAccessRestricted = 16;
inline constexpr std::uint8_t kInvalidSpan = 29;
inline constexpr std::uint8_t kNotImplemented = 64;
}  // namespace rc

// Field device status bits (second status byte).
namespace status {
inline constexpr std::uint8_t kConfigChanged = 0x40;
inline constexpr std::uint8_t kCurrentFixed = 0x08;
inline constexpr std::uint8_t kCurrentSaturated = 0x04;
inline constexpr std::uint8_t kPvOutOfLimits = 0x01;
}  // namespace status

struct TransmitterState {
    Identity identity;

    // Primary variable and range. Range values stay in the unit they were
    // written in, so that what a master wrote reads back bit for bit.
    std::uint8_t pvUnit = kUnitKpa;
    std::uint8_t rangeUnit = kUnitKpa;
    float upperRange = 100.0f;
    float lowerRange = 0.0f;
    float damping = 0.5f;               // seconds, 0 to 32
    std::uint8_t transferFunction = 0;  // 0 linear, 1 square root

    // Sensor, in kPa whatever the PV unit.
    std::array<std::uint8_t, 3> sensorSerial{0x00, 0x30, 0x39};
    double sensorUpperKpa = 200.0;
    double sensorLowerKpa = -100.0;
    double minSpanKpa = 2.0;
    double processKpa = 50.0;     // pressure applied to the sensor, before the wobble
    bool wobble = true;           // false: the applied pressure holds still
    double sensorErrorPct = 0.0;  // gain error: the sensor reads (1 + pct / 100) x applied

    // Sensor correction: PV = trimGain * reading + trimOffsetKpa. Each trim
    // turns it about the other trim point, so the two mend a gain error in
    // either order; a lower trim before any upper trim only shifts.
    double trimGain = 1.0;
    double trimOffsetKpa = 0.0;
    double lowerTrimKpa = 0.0;
    double upperTrimKpa = 200.0;
    bool upperTrimmed = false;

    // Analog output.
    float fixedCurrentMa = 0.0f;  // 0: the output follows the PV
    float zeroTrimMa = 4.0f;      // last currents reported by the output trims
    float gainTrimMa = 20.0f;

    // Device-specific settings.
    std::uint8_t alarmSelection = 0;  // 0 high, 1 low, 239 hold last value
    bool writeProtected = false;
    std::uint8_t display = 0;       // 0 PV, 1 percent of range, 2 current
    std::string version = "V1.05";  // at most 6 characters

    // Identification, kept packed as the master wrote it.
    Bytes tag = PackText("PT-101", 8);
    Bytes descriptor = PackText("PRESSURE XMTR", 16);
    Bytes date{15, 1, 124};  // day, month, year - 1900
    Bytes message = PackText("SIMULATED HART TRANSMITTER", 32);
    std::uint32_t finalAssembly = 123456;

    std::uint8_t burstCommand = 1;
    bool burstMode = false;
    bool configChanged = false;
};

struct Reply {
    std::uint8_t responseCode = rc::kOk;
    std::uint8_t deviceStatus = 0;
    Bytes data;
};

class Transmitter {
public:
    explicit Transmitter(Identity identity = {});

    // One request (command number and its data bytes) at time nowMs.
    // A refusal carries no data; a warning (codes 8, 14) carries data.
    Reply Handle(std::uint8_t command, const Bytes& request, std::uint64_t nowMs);

    TransmitterState& State() { return m_State; }
    const TransmitterState& State() const { return m_State; }

    // Live values: the applied pressure wobbles a little with time.
    double AppliedKpa(std::uint64_t nowMs) const;
    double PvKpa(std::uint64_t nowMs) const;
    float PvInUnit(std::uint64_t nowMs) const;
    float PercentOfRange(std::uint64_t nowMs) const;
    float LoopCurrentMa(std::uint64_t nowMs) const;
    std::uint8_t DeviceStatus(std::uint64_t nowMs) const;

private:
    using Handler = std::uint8_t (Transmitter::*)(const Bytes& request, std::uint64_t nowMs, Bytes& out);
    struct Command {
        std::uint8_t number;
        std::uint8_t requestBytes;  // fewer: response code 5
        bool configWrite;           // refused while write protected
        Handler handler;
    };
    static const Command* Find(std::uint8_t number);

    double UnclampedCurrentMa(std::uint64_t nowMs) const;
    bool Multidrop() const { return m_State.identity.pollingAddress != 0; }

    // Reads.
    std::uint8_t ReadIdentity(const Bytes&, std::uint64_t, Bytes& out);        // 0
    std::uint8_t ReadPv(const Bytes&, std::uint64_t, Bytes& out);              // 1
    std::uint8_t ReadCurrentPercent(const Bytes&, std::uint64_t, Bytes& out);  // 2
    std::uint8_t ReadDynamicVars(const Bytes&, std::uint64_t, Bytes& out);     // 3
    std::uint8_t ReadMessage(const Bytes&, std::uint64_t, Bytes& out);         // 12
    std::uint8_t ReadTagDescDate(const Bytes&, std::uint64_t, Bytes& out);     // 13
    std::uint8_t ReadSensorInfo(const Bytes&, std::uint64_t, Bytes& out);      // 14
    std::uint8_t ReadOutputInfo(const Bytes&, std::uint64_t, Bytes& out);      // 15
    std::uint8_t ReadAssembly(const Bytes&, std::uint64_t, Bytes& out);        // 16
    std::uint8_t ReadBurstConfig(const Bytes&, std::uint64_t, Bytes& out);     // 105
    std::uint8_t ReadTrimPoints(const Bytes&, std::uint64_t, Bytes& out);      // 128
    std::uint8_t ReadDisplay(const Bytes&, std::uint64_t, Bytes& out);         // 165
    std::uint8_t ReadVersion(const Bytes&, std::uint64_t, Bytes& out);         // 172

    // Settings.
    std::uint8_t WritePollingAddress(const Bytes&, std::uint64_t, Bytes& out);    // 6
    std::uint8_t WriteMessage(const Bytes&, std::uint64_t, Bytes& out);           // 17
    std::uint8_t WriteTagDescDate(const Bytes&, std::uint64_t, Bytes& out);       // 18
    std::uint8_t WriteAssembly(const Bytes&, std::uint64_t, Bytes& out);          // 19
    std::uint8_t WriteDamping(const Bytes&, std::uint64_t, Bytes& out);           // 34
    std::uint8_t ResetConfigChanged(const Bytes&, std::uint64_t, Bytes& out);     // 38
    std::uint8_t WritePvUnit(const Bytes&, std::uint64_t, Bytes& out);            // 44
    std::uint8_t WriteTransferFunction(const Bytes&, std::uint64_t, Bytes& out);  // 47
    std::uint8_t WriteBurstCommand(const Bytes&, std::uint64_t, Bytes& out);      // 108
    std::uint8_t WriteBurstMode(const Bytes&, std::uint64_t, Bytes& out);         // 109
    std::uint8_t WriteDisplay(const Bytes&, std::uint64_t, Bytes& out);           // 134
    std::uint8_t WriteAlarm(const Bytes&, std::uint64_t, Bytes& out);             // 135
    std::uint8_t WriteProtection(const Bytes&, std::uint64_t, Bytes& out);        // 192

    // Range, output and sensor calibration.
    std::uint8_t WriteRange(const Bytes&, std::uint64_t, Bytes& out);         // 35
    std::uint8_t SetUpperRangeHere(const Bytes&, std::uint64_t, Bytes& out);  // 36
    std::uint8_t SetLowerRangeHere(const Bytes&, std::uint64_t, Bytes& out);  // 37
    std::uint8_t FixCurrent(const Bytes&, std::uint64_t, Bytes& out);         // 40
    std::uint8_t ZeroPv(const Bytes&, std::uint64_t, Bytes& out);             // 43
    std::uint8_t TrimOutputZero(const Bytes&, std::uint64_t, Bytes& out);     // 45
    std::uint8_t TrimOutputGain(const Bytes&, std::uint64_t, Bytes& out);     // 46
    // The 4 or 20 mA output trim: the measured current within the window.
    std::uint8_t TrimOutput(const Bytes& request, float nominalMa, float& trimMa, Bytes& out);
    // The trim point of a sensor trim request in kPa, or the code refusing it.
    std::uint8_t ReadTrimPoint(const Bytes& request, double& wantKpa) const;
    // Turns the correction about the point where the PV reads fixedKpa, so
    // that it reads wantKpa now; refused when that moves the slope too far.
    std::uint8_t TurnTrim(double fixedKpa, double wantKpa, std::uint64_t nowMs);
    std::uint8_t TrimSensorUpper(const Bytes&, std::uint64_t, Bytes& out);  // 130
    std::uint8_t TrimSensorLower(const Bytes&, std::uint64_t, Bytes& out);  // 131

    TransmitterState m_State;
};

}  // namespace sim
