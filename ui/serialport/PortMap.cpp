#include "ui/serialport/PortMap.h"

#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace {

bool IsPort(int port) { return port >= kFirstPort && port <= kLastPort; }

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Device-name order in which runs of digits compare by value, so that
// ttyS2 precedes ttyS10 and the first sixteen are the low-numbered ones.
bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t iEnd = i;
            std::size_t jEnd = j;
            while (iEnd < a.size() && IsDigit(a[iEnd]))
                ++iEnd;
            while (jEnd < b.size() && IsDigit(b[jEnd]))
                ++jEnd;
            std::size_t iSig = i;
            std::size_t jSig = j;
            while (iSig + 1 < iEnd && a[iSig] == '0')
                ++iSig;
            while (jSig + 1 < jEnd && b[jSig] == '0')
                ++jSig;
            const std::string_view numA(a.data() + iSig, iEnd - iSig);
            const std::string_view numB(b.data() + jSig, jEnd - jSig);
            if (numA.size() != numB.size())
                return numA.size() < numB.size();
            if (numA != numB)
                return numA < numB;
            // Equal values: the shorter spelling (fewer leading zeros) first.
            if (iEnd - i != jEnd - j)
                return iEnd - i < jEnd - j;
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

std::string PortMap::VariableName(int port) { return "TAMSEL_COM" + std::to_string(port); }

std::optional<PortMap> PortMap::FromValues(const std::map<int, std::string>& values, std::ostream* warnings)
{
    if (values.empty())
        return std::nullopt;
    PortMap map;
    for (const auto& [port, value] : values) {
        if (!IsPort(port) || value.empty())
            continue;
        const auto linkSettings = ParsePortValue(value);
        if (const std::string* why = std::get_if<std::string>(&linkSettings)) {
            if (warnings)
                *warnings << "tamsel: COM" << port << " (" << value << ") is left out: " << *why << "\n";
            continue;
        }
        map.Set(port, value);
    }
    return map;
}

std::optional<PortMap> PortMap::FromEnvironment(const Environment& env, std::ostream* warnings)
{
    std::map<int, std::string> values;
    for (int port = kFirstPort; port <= kLastPort; ++port)
        if (const auto it = env.find(VariableName(port)); it != env.end())
            values[port] = it->second;
    return FromValues(values, warnings);
}

PortMap PortMap::FromDevices(std::vector<std::string> devices)
{
    std::erase(devices, std::string());
    std::sort(devices.begin(), devices.end(), NaturalLess);
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    PortMap map;
    int port = kFirstPort;
    for (auto& device : devices) {
        if (port > kLastPort)
            break;
        map.Set(port++, std::move(device));
    }
    return map;
}

std::vector<std::string> PortMap::SystemDevices()
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
}

PortMap PortMap::FromSystem() { return FromDevices(SystemDevices()); }

PortMap PortMap::Load(const Environment& env, const DeviceLister& listDevices, const std::map<int, std::string>& saved,
                      std::ostream* warnings)
{
    if (auto fromEnv = FromEnvironment(env, warnings))
        return *fromEnv;
    if (auto fromSaved = FromValues(saved, warnings))
        return *fromSaved;
    return FromDevices(listDevices());
}

PortMap::Environment PortMap::ProcessEnvironment()
{
    // Only the sixteen names matter; set-but-empty counts as set.
    Environment env;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const std::string name = VariableName(port);
        if (const char* value = std::getenv(name.c_str()))
            env.emplace(name, value);
    }
    return env;
}

PortMap PortMap::Load() { return Load(ProcessEnvironment(), SystemDevices, SavedValues(), &std::cerr); }

PortMap PortMap::Single(int port, std::string device)
{
    PortMap map;
    map.Set(port, std::move(device));
    return map;
}

void PortMap::Set(int port, std::string device)
{
    if (!IsPort(port))
        throw std::out_of_range("port number " + std::to_string(port) + " is outside 1 to 16");
    m_Devices[static_cast<std::size_t>(port)] = std::move(device);
}

std::optional<std::string> PortMap::DeviceFor(int port) const
{
    if (!IsPort(port))
        return std::nullopt;
    const std::string& device = m_Devices[static_cast<std::size_t>(port)];
    if (device.empty())
        return std::nullopt;
    return device;
}

std::map<int, std::string> PortMap::SavedValues()
{
    QSettings settings("Tamsel", "Tamsel");
    std::map<int, std::string> values;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const QString value = settings.value(QString("Ports/COM%1").arg(port)).toString();
        if (!value.isEmpty())
            values[port] = value.toStdString();
    }
    return values;
}

void PortMap::SaveValues(const std::map<int, std::string>& values)
{
    QSettings settings("Tamsel", "Tamsel");
    settings.remove("Ports");
    for (const auto& [port, value] : values)
        if (!value.empty())
            settings.setValue(QString("Ports/COM%1").arg(port), QString::fromStdString(value));
}

std::optional<LinkSettings> PortMap::SettingsFor(int port) const
{
    const std::optional<std::string> value = DeviceFor(port);
    if (!value)
        return std::nullopt;
    auto linkSettings = ParsePortValue(*value);
    if (LinkSettings* parsed = std::get_if<LinkSettings>(&linkSettings))
        return *parsed;
    return std::nullopt;
}

std::vector<int> PortMap::Ports() const
{
    std::vector<int> ports;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (!m_Devices[static_cast<std::size_t>(port)].empty())
            ports.push_back(port);
    }
    return ports;
}
