// Which device stands behind each port number 1 to 16.
//
// When any of the variables TAMSEL_COM1 .. TAMSEL_COM16 is set, exactly those
// define the ports (an empty value means no such port); otherwise the system's
// serial ports, in device-name order, take the numbers from 1 upwards.
#pragma once

#include "serial/SerialPort.h"

#include <array>
#include <functional>
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
    static std::optional<PortMap> FromEnvironment(const Environment& env);
    // Devices numbered 1, 2, ... in device-name order (digit runs compare as
    // numbers, so ttyS2 comes before ttyS10); at most 16, duplicates once.
    static PortMap FromDevices(std::vector<std::string> devices);
    // Device paths of the serial ports the system reports.
    static std::vector<std::string> SystemDevices();
    static PortMap FromSystem();
    // The variables in env if any is set, otherwise the devices listed.
    static PortMap Load(const Environment& env, const DeviceLister& listDevices = SystemDevices);
    // Load from the process environment and the system's ports.
    static PortMap Load();
    // Only this port, mapped to this device.
    static PortMap Single(int port, std::string device);

    // Maps port to device; an empty device removes the port.
    // Throws std::out_of_range for a port outside 1 to 16.
    void Set(int port, std::string device);

    std::optional<std::string> DeviceFor(int port) const;
    // Mapped port numbers, ascending.
    std::vector<int> Ports() const;

    bool operator==(const PortMap&) const = default;

private:
    // Index 0 unused so that a port number is its own index.
    std::array<std::string, kLastPort + 1> m_Devices{};
};
