#include "ui/script/CalibrationVerbs.h"
#include "ui/script/ScriptLine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

constexpr long kRunWaitMs = 120000;

std::optional<double> Number(const std::string& word)
{
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Fixed(double value, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The options after the kind; "" or what is wrong.
std::string ReadOptions(const std::vector<std::string>& w, RunOptions& options)
{
    if (w.size() < 2 || (w[1] != "as-found" && w[1] != "as-left"))
        return "cal start needs as-found or as-left";
    for (std::size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "updown") {
            options.updown = true;
        } else if (w[i] == "points" && i + 1 < w.size()) {
            options.points.clear();
            std::istringstream list(w[++i]);
            for (std::string p; std::getline(list, p, ',');) {
                const std::optional<double> pct = Number(p);
                if (!pct || *pct < 0 || *pct > 100)
                    return "a test point is a percent of the range, 0 to 100, not \"" + p + "\"";
                options.points.push_back(*pct);
            }
        } else if (w[i] == "tolerance" && i + 1 < w.size()) {
            const std::optional<double> t = Number(w[++i]);
            if (!t || *t <= 0)
                return "the tolerance is a percent of span above 0";
            options.tolerancePct = *t;
        } else if (w[i] == "reads" && i + 1 < w.size()) {
            const std::optional<double> n = Number(w[++i]);
            if (!n || *n < 1 || *n > 100 || *n != static_cast<int>(*n))
                return "reads is a whole number from 1 to 100";
            options.reads = static_cast<int>(*n);
        } else {
            return "cal start does not take \"" + w[i] + "\"";
        }
    }
    return {};
}

std::string Check(const std::string& args)
{
    const std::vector<std::string> w = SplitWords(args);
    const std::string what = w.empty() ? "" : w[0];
    RunOptions options;
    if (what == "start")
        return ReadOptions(w, options);
    if (what == "point")
        return w.size() == 2 && Number(w[1]) ? "" : "cal point needs the reference value";
    if (what == "skip" || what == "end")
        return w.size() == 1 ? "" : "cal " + what + " takes nothing more";
    if (what == "certificate" || what == "technician" || what == "notes")
        return w.size() >= 2 ? "" : "cal " + what + " needs a text";
    if (what == "reference")
        return w.size() == 4 ? "" : "cal reference needs the model, the serial number and the due date";
    return "cal needs start, point, skip, end, technician, reference, notes or certificate";
}

}  // namespace

void AddCalibrationVerbs(ScriptRunner& runner, CalibrationHost host)
{
    runner.AddVerb(
        "cal", {Check, [&runner, host](const std::string& args, std::ostream& out) {
                    CalibrationProcedure& proc = host.procedure;
                    const std::vector<std::string> w = SplitWords(args);
                    const std::string rest = args.substr(std::min(args.size(), w[0].size() + 1));
                    const auto settle = [&] { runner.WaitUntil([&] { return !host.operationRunning(); }, kRunWaitMs); };
                    const auto filed = [&] {
                        if (const std::string error = host.save(proc.Record()); !error.empty())
                            out << "cal: cannot file the calibration: " << error << '\n';
                    };
                    std::string refused;
                    if (w[0] == "start") {
                        RunOptions options;
                        ReadOptions(w, options);
                        refused = proc.Start(w[1], options, host.today(), host.now());
                        if (refused.empty()) {
                            settle();
                            refused = proc.LastFailure();
                        }
                        if (refused.empty()) {
                            const DeviceSetting& d = proc.Record().device;
                            out << "cal: " << w[1] << " on " << d.tag << ", " << Fixed(d.lowerRange, "%g") << " to "
                                << Fixed(d.upperRange, "%g") << " " << d.unit << ", "
                                << proc.CurrentRun()->points.size() << " points\n";
                            filed();
                        }
                    } else if (w[0] == "point") {
                        refused = proc.RecordPoint(*Number(w[1]));
                        if (refused.empty()) {
                            const std::size_t at = *proc.NextPoint();
                            settle();
                            filed();
                            refused = proc.LastFailure();
                            const CalPoint& p = proc.CurrentRun()->points[at];
                            if (refused.empty())
                                out << "cal: point " << Fixed(p.targetPct, "%g")
                                    << " reference=" << Fixed(p.reference, "%.4f") << " pv=" << Fixed(p.pv, "%.4f")
                                    << " ma=" << Fixed(p.ma, "%.4f") << " pv_error=" << Fixed(p.pvErrorPct, "%.3f")
                                    << "% ma_error=" << Fixed(p.maErrorPct, "%.3f") << "% "
                                    << (p.pass ? "pass" : "fail") << '\n';
                        }
                    } else if (w[0] == "skip") {
                        refused = proc.SkipPoint();
                        filed();
                    } else if (w[0] == "end") {
                        refused = proc.EndRun();
                        if (refused.empty()) {
                            const CalRun& run = *proc.CurrentRun();
                            out << "cal: " << run.kind << (run.Passed() ? " pass " : " fail ") << run.DoneCount()
                                << " points\n";
                            filed();
                        }
                    } else if (w[0] == "technician") {
                        proc.Record().technician = rest;
                    } else if (w[0] == "notes") {
                        proc.Record().notes = rest;
                    } else if (w[0] == "reference") {
                        proc.Record().reference = {w[1], w[2], w[3]};
                    } else if (w[0] == "certificate") {
                        refused = host.certificate(proc.Record(), rest);
                        if (refused.empty()) {
                            out << "cal: certificate " << rest << '\n';
                            proc.NoteCertificate(rest);
                        }
                    }
                    if (refused.empty())
                        return 0;
                    out << "cal: " << w[0] << ": " << refused << '\n';
                    return 1;
                }});
}
