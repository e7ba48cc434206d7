// tamsel-cli: the tool without a window, driven by an action script.
#include "app/CTamselDlg.h"
#include "dialog/Layout.h"
#include "ui/calibration/CalibrationStore.h"
#include "ui/calibration/Certificate.h"
#include "ui/cli/QtScriptClock.h"
#include "ui/cli/QtTimerBackend.h"
#include "ui/demo/PortChoice.h"
#include "ui/headless/HeadlessWindow.h"
#include "ui/record/RecordOptions.h"
#include "ui/record/RecordWriter.h"
#include "ui/script/CalibrationVerbs.h"
#include "ui/script/ConfigurationVerbs.h"
#include "ui/script/ScriptRunner.h"
#include "ui/serialport/QtSerialPort.h"
#include "ui/signals/EndSignals.h"

#include <QApplication>

#include <QElapsedTimer>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace {

const char kUsage[] = R"(Usage: tamsel-cli [--demo] [--timestamps] [--record FILE | --no-record] [SCRIPT]

Runs the Tamsel tool without a window, driven by an action script read from
the file SCRIPT, or from standard input when SCRIPT is absent or "-".

Options:
  --demo        serve the built-in simulated transmitter as port COM1 (the only port)
  --timestamps  begin every output line with the milliseconds since start, as
                "[12.345] "
  --help        show this text
)";

const std::string kScriptHelp = R"(
Script: one action a line; '#' starts a comment; blank lines are ignored.
  click <id or caption>    click a button as the operator; a caption that names
                           several controls (such as "Read") is refused: use the id
  type <id> <text>         replace the field's text as typed (text limit applied)
  choose <id> <entry>      select a list entry by its text or its index
  wait [ms]                until no operation is running, at most ms (default 30000)
  sleep <ms>               let the tool run for ms
  show <id>                print the control in one line:
                             show <id>: text="..." enabled=0|1 check=0|1 sel=N
                           text is the caption, field text, selected entry or newest
                           log entry; quotes and backslashes in it are escaped; the
                           log adds count=N most=M (entries now, the most it held)
  expect <id> <text>       fail the run unless the control shows exactly text

Calibration (after a connect):
)" + std::string(kCalibrationHelp) +
                                R"(
Configuration (after a connect; survey needs an open port only):
)" + std::string(kConfigurationHelp) +
                                R"(
Every activity log entry is printed as "log: <text>" the moment it is added.
The whole script is checked before anything runs.

Exit status: 0 the script ran through, 1 an expect failed (the run stops there),
2 a bad script line (reported with its line number; nothing runs), a bad option
or a script that cannot be read, 3 the demo transmitter could not be started,
128 + the signal's number after SIGTERM, SIGINT or SIGHUP (the script stops
where it is, the running operation ends before its next request and the record
says so; a second signal ends the program at once).
A UTF-8 byte-order mark at the start of the script is skipped.

When the script ends (or is stopped) with the loop current fixed by "Fixed
Curr.", the loop is returned as "Exit Fixed" does before the program ends, and
one line says so.
)";

// Longest the loop's return may take: a running operation's end, then three
// tries of command 40.
constexpr long kLoopReturnMs = 30000;

// The whole script, from the file or standard input ("-"), without a UTF-8
// byte-order mark; nothing when it cannot be read (a directory included).
std::optional<std::string> ReadScript(const std::string& path)
{
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec))
            return std::nullopt;
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return std::nullopt;
        text << file.rdbuf();
        if (file.bad())
            return std::nullopt;
    }
    std::string script = text.str();
    if (script.starts_with("\xEF\xBB\xBF"))
        script.erase(0, 3);
    return script;
}

// Nobody watches the loop once the program has ended: a current this run
// fixed is given back first.
void ReturnFixedLoop(CTamselDlg& dlg, const HeadlessWindow& window, ScriptClock& clock)
{
    const std::optional<float> fixed = dlg.FixedLoopCurrent();
    if (!fixed)
        return;
    dlg.ReturnLoopAndClose();
    clock.WaitUntil([&window] { return window.Ended(); }, kLoopReturnMs);
    char line[160];
    if (dlg.FixedLoopCurrent())
        std::snprintf(line, sizeof line, "tamsel-cli: the loop current is still fixed at %.3f mA: returning it failed",
                      double{*fixed});
    else
        std::snprintf(line, sizeof line,
                      "tamsel-cli: the loop current fixed at %.3f mA is returned to the measured value",
                      double{*fixed});
    std::cout << line << std::endl;
}

}  // namespace

int main(int argc, char** argv)
{
    // A certificate is drawn (Qt Charts, a PDF) without a display; and
    // without the runtime directory a session has, the one Qt would choose
    // is taken without its warning on every start.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    }
    QApplication app(argc, argv);
    bool demo = false;
    bool timestamps = false;
    std::optional<std::string> scriptPath;
    RecordPlace record = RecordPlace::DefaultDaily();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string error;
        if (TakeRecordOption(argc, argv, i, record, error)) {
            if (error.empty())
                continue;
            std::cerr << "tamsel-cli: " << error << "\n" << kUsage << kRecordHelp << kScriptHelp;
            return 2;
        }
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << kRecordHelp << kScriptHelp << "\n" << kPortsHelp;
            return 0;
        }
        if (arg == "--demo")
            demo = true;
        else if (arg == "--timestamps")
            timestamps = true;
        else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            std::cerr << "tamsel-cli: unknown option " << arg << "\n" << kUsage << kRecordHelp << kScriptHelp;
            return 2;
        } else if (scriptPath) {
            std::cerr << "tamsel-cli: one script only, not " << *scriptPath << " and " << arg << "\n" << kUsage;
            return 2;
        } else {
            scriptPath = arg;
        }
    }

    std::optional<PortChoice> choice = ChoosePortsOrSay(demo, "tamsel-cli", std::cerr);
    if (!choice)
        return 3;

    const std::optional<std::string> text = ReadScript(scriptPath.value_or("-"));
    if (!text) {
        std::cerr << "tamsel-cli: cannot read " << scriptPath.value_or("standard input") << "\n";
        return 2;
    }
    std::istringstream script(*text);

    QtTimerBackend timers;
    HeadlessWindow window(MainDialogLayout(), timers);
    QtSerialPort port(std::move(choice->ports));
    CTamselDlg dlg(window, port);
    window.SetEventSink(&dlg);
    RecordFile recordFile(record, std::cerr);
    RecordWriter recordWriter(recordFile, window);
    dlg.AddObserver(recordWriter);
    QtScriptClock clock;
    ScriptRunner runner(
        window, [&dlg] { return dlg.IsOperationRunning(); }, clock, std::cout);
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (timestamps)
        runner.SetLinePrefix([&sinceStart] {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "[%.3f] ", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6);
            return std::string(stamp);
        });
    const CalibrationStore store;
    AddCalibrationVerbs(runner,
                        {dlg.Calibration(), [&dlg] { return dlg.IsOperationRunning(); },
                         [] { return QDate::currentDate().toString(Qt::ISODate).toStdString(); },
                         [] { return QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString(); },
                         [&store](const Calibration& c) {
                             QString error;
                             return store.Save(c, error) ? std::string() : error.toStdString();
                         },
                         [](const Calibration& c, const std::string& path) {
                             QString error;
                             return WriteCertificate(c, QString::fromStdString(path), error) ? std::string()
                                                                                             : error.toStdString();
                         }});
    AddConfigurationVerbs(runner,
                          {dlg.Configuration(), [&dlg] { return dlg.IsOperationRunning(); },
                           [] { return QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString(); }});
    EndSignals endSignals;
    runner.SetStopRequest([&endSignals] { return endSignals.Received() != 0; });
    dlg.OnInitDialog();
    const int status = runner.Run(script);
    if (const int signal = endSignals.Received()) {
        // Cut short what runs; the loop's return needs the tool at rest.
        dlg.Interrupt(EndSignals::Name(signal));
        clock.WaitUntil([&dlg] { return !dlg.IsOperationRunning(); }, kLoopReturnMs);
    }
    ReturnFixedLoop(dlg, window, clock);
    return endSignals.ExitStatus(status);
}
