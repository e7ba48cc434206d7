#include "ui/script/ConfigurationVerbs.h"

#include "configuration/SnapshotFile.h"
#include "ui/script/ScriptLine.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

constexpr long kJobWaitMs = 300000;

std::string Check(const std::vector<std::string>& w)
{
    if (w.size() == 2 && (w[0] == "save" || w[0] == "compare" || w[0] == "restore"))
        return {};
    if (w.size() == 3 && w[0] == "restore" && w[2] == "--clone")
        return {};
    return "config needs save FILE, compare FILE or restore FILE [--clone]";
}

}  // namespace

void AddConfigurationVerbs(ScriptRunner& runner, ConfigurationHost host)
{
    ConfigurationProcedure& proc = host.procedure;
    // Runs a job to its end; its failure, or "" when it went through.
    const auto job = [&runner, host](const std::string& refused) {
        if (!refused.empty())
            return refused;
        runner.WaitUntil([&] { return !host.operationRunning(); }, kJobWaitMs);
        return host.procedure.Failure();
    };
    runner.AddVerb("survey",
                   {[](const std::string& args) { return args.empty() ? std::string() : "survey takes nothing more"; },
                    [&proc, job](const std::string&, std::ostream& out) {
                        if (const std::string failed = job(proc.Survey()); !failed.empty()) {
                            out << "survey: " << failed << '\n';
                            return 1;
                        }
                        for (const SurveyRow& row : proc.Surveyed())
                            out << "survey: " << row.address << ' ' << row.identity.manufacturer << ' '
                                << row.identity.deviceType << ' ' << row.identity.deviceId << ' ' << row.tag << '\n';
                        return 0;
                    }});
    runner.AddVerb("config", {[](const std::string& args) { return Check(SplitWords(args)); },
                              [&proc, job, host](const std::string& args, std::ostream& out) {
                                  const std::vector<std::string> w = SplitWords(args);
                                  const auto say = [&out](const std::string& what) {
                                      out << "config: " << what << '\n';
                                      return 1;
                                  };
                                  if (const std::string failed = job(proc.Read(host.now())); !failed.empty())
                                      return say(failed);
                                  if (w[0] == "save") {
                                      std::ofstream file(w[1]);
                                      file << ToJson(proc.Device());
                                      if (!file)
                                          return say("cannot write " + w[1]);
                                      out << "config: saved " << w[1] << '\n';
                                      return 0;
                                  }
                                  std::ifstream in(w[1]);
                                  std::stringstream text;
                                  text << in.rdbuf();
                                  if (!in)
                                      return say("cannot read " + w[1]);
                                  auto read = SnapshotFromJson(text.str());
                                  if (const std::string* why = std::get_if<std::string>(&read))
                                      return say(w[1] + ": " + *why);
                                  const Snapshot& file = std::get<Snapshot>(read);
                                  for (const auto& unknown : {file.unknownSettings, file.unknownFields})
                                      for (const auto& [key, value] : unknown)
                                          out << "config: the file's " << key << " is unknown to this version; kept\n";
                                  if (w[0] == "compare") {
                                      int differ = 0;
                                      for (const Comparison& c : Compare(proc.Device(), file))
                                          if (c.Differs()) {
                                              ++differ;
                                              out << "config: " << c.key << " device=" << c.device << " file=" << c.file
                                                  << '\n';
                                          }
                                      out << "config: " << differ << " differ\n";
                                      return 0;
                                  }
                                  const std::string failed = job(proc.Restore(file, w.size() == 3));
                                  for (const std::string& line : proc.Written())
                                      out << "config: wrote " << line << '\n';
                                  if (!failed.empty()) {
                                      std::string notWritten;
                                      for (const std::string& s : proc.NotWritten())
                                          notWritten += (notWritten.empty() ? "" : ", ") + s;
                                      return say("restore stopped: " + failed +
                                                 (notWritten.empty() ? "" : "; not written: " + notWritten));
                                  }
                                  out << "config: restored " << proc.Written().size() << '\n';
                                  return 0;
                              }});
}
