#include "configuration/SnapshotFile.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

std::string ToJson(const Snapshot& s)
{
    json settings = json::object();
    for (const auto& [key, v] : s.settings) {
        json entry = {{"value", v.value}};
        if (v.code)
            entry["code"] = *v.code;
        settings[key] = entry;
    }
    for (const auto& [key, text] : s.unknownSettings)
        settings[key] = json::parse(text, nullptr, false);
    const DeviceIdentity& d = s.identity;
    json file{{"format", kSnapshotFormat},
              {"format_version", kSnapshotVersion},
              {"read_at", s.readAt},
              {"identity",
               {{"manufacturer", d.manufacturer},
                {"manufacturer_code", d.manufacturerCode},
                {"device_type", d.deviceType},
                {"device_type_code", d.deviceTypeCode},
                {"device_id", d.deviceId},
                {"polling_address", d.pollingAddress}}},
              {"settings", settings}};
    for (const auto& [key, text] : s.unknownFields)
        file[key] = json::parse(text, nullptr, false);
    return file.dump(2) + "\n";
}

std::variant<Snapshot, std::string> SnapshotFromJson(const std::string& text)
{
    try {
        const json j = json::parse(text);
        if (!j.is_object() || j.value("format", "") != kSnapshotFormat)
            return std::string("not a configuration file of this tool");
        const int version = j.value("format_version", 0);
        if (version > kSnapshotVersion)
            return "the file's format version " + std::to_string(version) + " is newer than this tool's " +
                   std::to_string(kSnapshotVersion) + ": use a newer tool";
        Snapshot s;
        s.readAt = j.value("read_at", "");
        const json& id = j.at("identity");
        s.identity = {id.value("manufacturer", ""),     id.value("device_type", ""), id.value("manufacturer_code", -1),
                      id.value("device_type_code", -1), id.value("device_id", -1L),  id.value("polling_address", 0)};
        for (const auto& [key, entry] : j.at("settings").items()) {
            if (!FindSetting(key) || !entry.is_object()) {
                s.unknownSettings[key] = entry.dump();
                continue;
            }
            SettingValue v{entry.value("value", ""), std::nullopt};
            if (entry.contains("code") && entry["code"].is_number_integer())
                v.code = entry["code"].get<int>();
            s.settings[key] = v;
        }
        for (const auto& [key, entry] : j.items())
            if (key != "format" && key != "format_version" && key != "read_at" && key != "identity" &&
                key != "settings")
                s.unknownFields[key] = entry.dump();
        return s;
    } catch (const json::exception& e) {
        return std::string("cannot read the configuration file: ") + e.what();
    }
}
