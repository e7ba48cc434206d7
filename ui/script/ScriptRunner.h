// Runs an action script against the window: the whole script is checked
// first, so that a bad line stops it before anything reaches a transmitter.
// Every log entry is printed as "log: <text>" the moment it is appended.
//
// Exit status: 0 the script ran through (or was stopped), 1 an expect failed
// (the run stops there), 2 a bad script line (nothing runs).
#pragma once

#include "ui/headless/HeadlessWindow.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// How the script waits: real time in the command line, virtual in tests.
class ScriptClock {
public:
    virtual ~ScriptClock() = default;
    // Lets events run until done() holds or ms have passed; returns done().
    virtual bool WaitUntil(const std::function<bool()>& done, long ms) = 0;
};

class ScriptRunner {
public:
    ScriptRunner(HeadlessWindow& window, std::function<bool()> operationRunning, ScriptClock& clock, std::ostream& out);

    int Run(std::istream& script);

    // A verb of the host's own: check says what is wrong with a line's
    // arguments ("" when nothing), before anything runs; run carries it out
    // and gives the exit status (0: go on).
    struct Verb {
        std::function<std::string(const std::string& args)> check;
        std::function<int(const std::string& args, std::ostream& out)> run;
    };
    void AddVerb(const std::string& name, Verb verb);
    // Lets the tool run until done() holds or ms have passed: for a verb's
    // own waits.
    bool WaitUntil(const std::function<bool()>& done, long ms) { return m_Clock.WaitUntil(done, ms); }

    // Asked between actions and while waiting: once it holds, the script
    // stops where it is (the command line's SIGTERM, SIGINT and SIGHUP).
    void SetStopRequest(std::function<bool()> stop) { m_Stop = std::move(stop); }

    // Written before every output line (the command line's time stamps).
    void SetLinePrefix(std::function<std::string()> prefix) { m_LinePrefix = std::move(prefix); }

    // The machine-readable line of "show": text="..." enabled=0|1 check=0|1 sel=N
    std::string Describe(int id) const;

private:
    struct Action;
    bool Prepare(std::istream& script, std::vector<Action>& actions);
    int ResolveClickTarget(const std::string& target, std::string& error) const;
    int Execute(const Action& action);
    std::ostream& Out();  // m_Out, after the line prefix
    const Verb& FindVerb(const std::string& name) const;
    bool Stopping() const { return m_Stop && m_Stop(); }

    HeadlessWindow& m_Window;
    std::function<bool()> m_OperationRunning;
    ScriptClock& m_Clock;
    std::ostream& m_Out;
    std::function<std::string()> m_LinePrefix;
    std::function<bool()> m_Stop;
    std::vector<std::pair<std::string, Verb>> m_Verbs;
};
