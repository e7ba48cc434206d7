// A transmitter's configuration as a file: who it is, and each setting as its
// value plus, for a coded setting, its HART code, so that a later version of
// the tool reads it without this one's tables. Settings a file holds that
// this version does not know are kept and reported, never dropped.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct DeviceIdentity {
    std::string manufacturer, deviceType;
    int manufacturerCode = -1, deviceTypeCode = -1;
    long deviceId = -1;
    int pollingAddress = 0;
    bool operator==(const DeviceIdentity&) const = default;
};

struct SettingValue {
    std::string value;        // as shown; "" for a setting the transmitter did not give
    std::optional<int> code;  // the HART code of a coded setting
    bool Known() const { return !value.empty() || code.has_value(); }
    bool operator==(const SettingValue&) const = default;
};

// The settings in the order they are shown and compared.
struct SettingKey {
    const char* key;
    const char* label;
    bool writable;
};
const std::vector<SettingKey>& SettingKeys();
const SettingKey* FindSetting(const std::string& key);

struct Snapshot {
    std::string readAt;  // local time, "YYYY-MM-DD HH:MM:SS"
    DeviceIdentity identity;
    std::map<std::string, SettingValue> settings;
    // What a file holds that this version does not know, as JSON text by
    // name: settings, and fields beside them.
    std::map<std::string, std::string> unknownSettings, unknownFields;
};

inline constexpr const char* kSnapshotFormat = "tamsel-configuration";
inline constexpr int kSnapshotVersion = 1;

// One setting side by side. A read-only setting is shown, never counted as a
// difference to restore.
struct Comparison {
    std::string key, label, device, file;
    bool same = true;
    bool writable = false;
    bool Differs() const { return !same && writable; }
};
std::vector<Comparison> Compare(const Snapshot& device, const Snapshot& file);
