// What stands behind each port number 1 to 16: a device path (the hex-line
// modem), or a value naming a binary modem or a HART-IP gateway (LinkSettings.h).
//
// When any of the variables TAMSEL_COM1 .. TAMSEL_COM16 is set, exactly those
// define the ports (an empty value means no such port); otherwise the values
// saved by the "Ports..." dialog when there are any; otherwise the system's
// serial ports, in device-name order, take the numbers from 1 upwards. A value
// that cannot be read leaves its port out, with one line on the warning
// stream saying why.
#pragma once

#include "serial/SerialPort.h"

#include <array>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

class PortMap {
public:
    using Environment = std::map<std::string, std::string>;
    using DeviceLister = std::function<std::vector<std::string>()>;

    // A map without ports.
    PortMap() = default;

    // Name of the variable that maps a port: "TAMSEL_COM<port>".
    static std::string VariableName(int port);

    // The ports the variables define, or nothing when none of them is set.
    static std::optional<PortMap> FromEnvironment(const Environment& env, std::ostream* warnings = nullptr);
    // Values by port number ("Ports..."); nothing when there are none.
    static std::optional<PortMap> FromValues(const std::map<int, std::string>& values,
                                             std::ostream* warnings = nullptr);
    // Devices numbered 1, 2, ... in device-name order (digit runs compare as
    // numbers, so ttyS2 comes before ttyS10); at most 16, duplicates once.
    static PortMap FromDevices(std::vector<std::string> devices);
    // Device paths of the serial ports the system reports.
    static std::vector<std::string> SystemDevices();
    static PortMap FromSystem();
    // The variables in env if any is set, otherwise the saved values,
    // otherwise the devices listed.
    static PortMap Load(const Environment& env, const DeviceLister& listDevices = SystemDevices,
                        const std::map<int, std::string>& saved = {}, std::ostream* warnings = nullptr);
    // The values the "Ports..." dialog saved (QSettings), and saving them.
    static std::map<int, std::string> SavedValues();
    static void SaveValues(const std::map<int, std::string>& values);
    // The TAMSEL_COM<n> variables of this process.
    static Environment ProcessEnvironment();
    // Load from the process environment, the saved values and the system's
    // ports; warnings go to standard error.
    static PortMap Load();
    // Only this port, mapped to this device.
    static PortMap Single(int port, std::string device);

    // Maps port to device; an empty device removes the port.
    // Throws std::out_of_range for a port outside 1 to 16.
    void Set(int port, std::string device);

    // The port's value as given: a device path or a link's address.
    std::optional<std::string> DeviceFor(int port) const;
    // What the value names; nothing for an unmapped port.
    std::optional<LinkSettings> SettingsFor(int port) const;
    // Mapped port numbers, ascending.
    std::vector<int> Ports() const;

    bool operator==(const PortMap&) const = default;

private:
    // Index 0 unused so that a port number is its own index.
    std::array<std::string, kLastPort + 1> m_Devices{};
};
