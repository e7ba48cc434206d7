#include "configuration/Snapshot.h"

const std::vector<SettingKey>& SettingKeys()
{
    static const std::vector<SettingKey> keys = {
        {"tag", "Tag", true},
        {"descriptor", "Descriptor", true},
        {"date", "Date", true},
        {"message", "Message", true},
        {"final_assembly", "Final assembly number", true},
        {"range_unit", "Range unit", true},
        {"upper_range", "Upper range value", true},
        {"lower_range", "Lower range value", true},
        {"pv_unit", "PV unit", true},
        {"damping", "Damping (s)", true},
        {"transfer_function", "Transfer function", true},
        {"alarm", "Alarm selection", true},
        {"write_protect", "Write protection", false},
        {"display", "Display", true},
        {"burst_mode", "Burst mode", true},
        {"burst_command", "Burst command", true},
        {"sensor_upper", "Sensor upper limit", false},
        {"sensor_lower", "Sensor lower limit", false},
        {"min_span", "Minimum span", false},
        {"sensor_unit", "Sensor limits' unit", false},
        {"version", "Version", false},
    };
    return keys;
}

const SettingKey* FindSetting(const std::string& key)
{
    for (const SettingKey& k : SettingKeys())
        if (key == k.key)
            return &k;
    return nullptr;
}

std::vector<Comparison> Compare(const Snapshot& device, const Snapshot& file)
{
    std::vector<Comparison> rows;
    for (const SettingKey& k : SettingKeys()) {
        const auto d = device.settings.find(k.key), f = file.settings.find(k.key);
        const SettingValue dv = d == device.settings.end() ? SettingValue{} : d->second;
        const SettingValue fv = f == file.settings.end() ? SettingValue{} : f->second;
        if (!dv.Known() && !fv.Known())
            continue;
        // Coded settings compare by code, so that a name a later version
        // spells otherwise is still the same setting.
        const bool same = dv.code && fv.code ? *dv.code == *fv.code : dv.value == fv.value;
        rows.push_back({k.key, k.label, dv.value, fv.value, same, k.writable && fv.Known()});
    }
    return rows;
}
