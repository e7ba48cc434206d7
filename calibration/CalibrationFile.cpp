#include "calibration/CalibrationFile.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>

using nlohmann::json;

namespace {

constexpr const char* kFormat = "tamsel-calibration";
constexpr int kFormatVersion = 1;

const char* StateName(CalPoint::State state)
{
    switch (state) {
    case CalPoint::State::Done:
        return "done";
    case CalPoint::State::Skipped:
        return "skipped";
    case CalPoint::State::Failed:
        return "failed";
    case CalPoint::State::Pending:
        break;
    }
    return "pending";
}

CalPoint::State StateOf(const std::string& name)
{
    return name == "done"      ? CalPoint::State::Done
           : name == "skipped" ? CalPoint::State::Skipped
           : name == "failed"  ? CalPoint::State::Failed
                               : CalPoint::State::Pending;
}

json RunJson(const CalRun& run)
{
    json points = json::array();
    for (const CalPoint& p : run.points)
        points.push_back({{"target_pct", p.targetPct},
                          {"down", p.down},
                          {"state", StateName(p.state)},
                          {"reference", p.reference},
                          {"pv", p.pv},
                          {"ma", p.ma},
                          {"pv_error_pct", p.pvErrorPct},
                          {"ma_error_pct", p.maErrorPct},
                          {"pass", p.pass}});
    return {{"kind", run.kind},       {"started", run.started}, {"tolerance_pct", run.tolerancePct},
            {"reads", run.reads},     {"ended", run.ended},     {"failure", run.failure},
            {"passed", run.Passed()}, {"points", points}};
}

CalRun RunOf(const json& j)
{
    CalRun run;
    run.kind = j.at("kind");
    run.started = j.value("started", "");
    run.tolerancePct = j.value("tolerance_pct", 0.25);
    run.reads = j.value("reads", 3);
    run.ended = j.value("ended", false);
    run.failure = j.value("failure", "");
    for (const json& p : j.at("points"))
        run.points.push_back({p.at("target_pct"), p.value("down", false), StateOf(p.value("state", "")),
                              p.value("reference", 0.0), p.value("pv", 0.0), p.value("ma", 0.0),
                              p.value("pv_error_pct", 0.0), p.value("ma_error_pct", 0.0), p.value("pass", false)});
    return run;
}

std::string Number(double value, const char* format = "%.4f")
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string ToJson(const Calibration& c)
{
    const DeviceSetting& d = c.device;
    json j = {{"format", kFormat},
              {"format_version", kFormatVersion},
              {"date", c.date},
              {"device",
               {{"manufacturer", d.manufacturer},
                {"manufacturer_code", d.manufacturerCode},
                {"device_type", d.deviceType},
                {"device_type_code", d.deviceTypeCode},
                {"device_id", d.deviceId},
                {"polling_address", d.pollingAddress},
                {"tag", d.tag},
                {"descriptor", d.descriptor},
                {"lower_range", d.lowerRange},
                {"upper_range", d.upperRange},
                {"unit", d.unit},
                {"unit_code", d.unitCode},
                {"damping_s", d.damping},
                {"transfer_function", d.transferFunction},
                {"transfer_function_code", d.transferFunctionCode}}},
              {"technician", c.technician},
              {"reference_instrument",
               {{"model", c.reference.model}, {"serial", c.reference.serial}, {"due", c.reference.dueDate}}},
              {"notes", c.notes}};
    if (c.asFound)
        j["as_found"] = RunJson(*c.asFound);
    if (c.asLeft)
        j["as_left"] = RunJson(*c.asLeft);
    return j.dump(2) + "\n";
}

std::variant<Calibration, std::string> CalibrationFromJson(const std::string& text)
{
    try {
        const json j = json::parse(text);
        if (j.value("format", "") != kFormat)
            return std::string("not a calibration file");
        if (j.value("format_version", 0) > kFormatVersion)
            return "format version " + std::to_string(j.value("format_version", 0)) + " is newer than this tool's " +
                   std::to_string(kFormatVersion);
        Calibration c;
        c.date = j.value("date", "");
        const json& d = j.at("device");
        c.device = {d.value("manufacturer", ""),
                    d.value("device_type", ""),
                    d.value("manufacturer_code", 0),
                    d.value("device_type_code", 0),
                    d.value("device_id", 0L),
                    d.value("polling_address", 0),
                    d.value("tag", ""),
                    d.value("descriptor", ""),
                    d.value("lower_range", 0.0),
                    d.value("upper_range", 0.0),
                    d.value("unit_code", 0),
                    d.value("unit", ""),
                    d.value("damping_s", 0.0),
                    d.value("transfer_function_code", 0),
                    d.value("transfer_function", "")};
        c.technician = j.value("technician", "");
        if (j.contains("reference_instrument")) {
            const json& r = j["reference_instrument"];
            c.reference = {r.value("model", ""), r.value("serial", ""), r.value("due", "")};
        }
        c.notes = j.value("notes", "");
        if (j.contains("as_found"))
            c.asFound = RunOf(j["as_found"]);
        if (j.contains("as_left"))
            c.asLeft = RunOf(j["as_left"]);
        return c;
    } catch (const json::exception& e) {
        return std::string("cannot read the calibration file: ") + e.what();
    }
}

std::string FileNameOf(const Calibration& c)
{
    std::string tag = c.device.tag;
    tag.erase(tag.find_last_not_of(' ') + 1);
    std::string name = (tag.empty() ? "untagged" : tag) + "_" + std::to_string(c.device.deviceId) + "_" + c.date;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '-' && ch != '_')
            ch = '_';
    return name + ".json";
}

std::string ToCsv(const Calibration& c)
{
    std::string csv = "run,target_pct,direction,reference,pv,ma,pv_error_pct,ma_error_pct,result\n";
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr}) {
        if (!run)
            continue;
        for (const CalPoint& p : run->points) {
            csv += run->kind + "," + Number(p.targetPct, "%g") + "," + (p.down ? "down" : "up") + ",";
            if (p.state == CalPoint::State::Done)
                csv += Number(p.reference) + "," + Number(p.pv) + "," + Number(p.ma) + "," + Number(p.pvErrorPct) +
                       "," + Number(p.maErrorPct) + "," + (p.pass ? "pass" : "fail") + "\n";
            else
                csv += ",,,,," + std::string(StateName(p.state)) + "\n";
        }
    }
    return csv;
}
